// Animations as one file that plays: each file decoded by its own library's reader and
// compared, frame by frame, with the pictures --animation frames -f bmp writes for the
// same input and settings.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <webp/demux.h>

#include <regex>
#include <set>

#include "bmp_header.h"
#include "cli_fixture.h"
#include "png_reader.h"
#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"

namespace {

using orv::tools::Bytes;
using orv::tools::CgPicture;

// A picture of red, green, blue pixels, top row first.
struct Frame {
    int number = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    Bytes rgb;
};

// Type 0 or 2 over [left, right) x [top, bottom), its palette from seed, its pixels from
// pattern(x, y) % 128.
Bytes Picture(
    std::uint8_t type, std::uint16_t width, std::uint16_t height, int seed, std::array<std::uint16_t, 4> rect = {},
    int (*pattern)(int, int) = [](int x, int y) { return x + y; })
{
    CgPicture picture;
    picture.type = type;
    picture.width = width;
    picture.height = height;
    const bool whole = type == 0 || rect == std::array<std::uint16_t, 4>{};
    picture.left = whole ? 0 : rect[0];
    picture.top = whole ? 0 : rect[1];
    picture.right = whole ? width : rect[2];
    picture.bottom = whole ? height : rect[3];
    // Colour k of seed s: blue 2k + 40s, green k + 1, red 3k + 40s: never black, and
    // distinct for every k and every seed.
    for (int k = 0; k < 128; ++k) {
        const auto at = static_cast<std::size_t>(k) * 3;
        picture.palette[at] = static_cast<std::uint8_t>(2 * k + 40 * seed);
        picture.palette[at + 1] = static_cast<std::uint8_t>(k + 1);
        picture.palette[at + 2] = static_cast<std::uint8_t>(3 * k + 40 * seed);
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.pixels.push_back(static_cast<std::uint8_t>(pattern(x, y) % 128));
    return orv::tools::EncodeCg(picture);
}

Frame FromBmp(int number, const Bytes& file)
{
    const BmpHeader header = ParseBmpHeader(file);
    Frame frame{number, static_cast<std::uint32_t>(header.width), static_cast<std::uint32_t>(header.height), {}};
    const std::size_t stride = (frame.width * 3 + 3) / 4 * 4;
    for (std::uint32_t y = 0; y < frame.height; ++y) {
        const std::uint8_t* row = &file[header.dataOffset + (frame.height - 1 - y) * stride];
        for (std::uint32_t x = 0; x < frame.width; ++x)
            frame.rgb.insert(frame.rgb.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
    }
    return frame;
}

// The numbered BMP files of stem in folder, in order.
std::vector<Frame> ReferenceFrames(const std::filesystem::path& folder, const std::string& stem)
{
    std::vector<Frame> frames;
    const std::regex name(stem + "_(\\d{4,})\\.bmp");
    for (const std::string& file : FilesIn(folder)) {
        std::smatch match;
        if (std::regex_match(file, match, name)) frames.push_back(FromBmp(std::stoi(match[1]), ReadAll(folder / file)));
    }
    return frames;
}

// The frame at the top left of a black cell.
Frame OnCell(const Frame& frame, std::uint32_t width, std::uint32_t height)
{
    Frame cell{frame.number, width, height, Bytes(std::size_t{width} * height * 3, 0)};
    for (std::uint32_t y = 0; y < frame.height; ++y)
        std::copy_n(&frame.rgb[y * frame.width * 3], frame.width * 3, &cell.rgb[y * width * 3]);
    return cell;
}

std::size_t ColourCount(const Frame& frame)
{
    std::set<std::array<std::uint8_t, 3>> colours;
    for (std::size_t i = 0; i < frame.rgb.size(); i += 3)
        colours.insert({frame.rgb[i], frame.rgb[i + 1], frame.rgb[i + 2]});
    return colours.size();
}

struct Decoded {
    std::vector<Frame> frames;  // whole canvases
    std::vector<int> delaysMs;
    bool loops = false;
};

Decoded DecodeWebp(const std::filesystem::path& path)
{
    const Bytes bytes = ReadAll(path);
    const WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    Decoded decoded;
    WebPAnimInfo info;
    if (decoder == nullptr || WebPAnimDecoderGetInfo(decoder, &info) == 0) return decoded;
    decoded.loops = info.loop_count == 0;
    int before = 0;
    std::uint8_t* canvas = nullptr;
    int timestamp = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder) && WebPAnimDecoderGetNext(decoder, &canvas, &timestamp)) {
        Frame frame{0, info.canvas_width, info.canvas_height, {}};
        for (std::size_t i = 0; i < std::size_t{info.canvas_width} * info.canvas_height; ++i) {
            EXPECT_EQ(canvas[i * 4 + 3], 255) << "pixel " << i;
            frame.rgb.insert(frame.rgb.end(), canvas + i * 4, canvas + i * 4 + 3);
        }
        decoded.frames.push_back(std::move(frame));
        decoded.delaysMs.push_back(timestamp - before);
        before = timestamp;
    }
    WebPAnimDecoderDelete(decoder);
    return decoded;
}

Decoded DecodeGif(const std::filesystem::path& path)
{
    Decoded decoded;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif == nullptr) return decoded;
    if (DGifSlurp(gif) == GIF_OK) {
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& image = gif->SavedImages[i];
            const ColorMapObject* map = image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
            EXPECT_EQ(image.ImageDesc.Left, 0);
            EXPECT_EQ(image.ImageDesc.Top, 0);
            Frame frame{0,
                        static_cast<std::uint32_t>(image.ImageDesc.Width),
                        static_cast<std::uint32_t>(image.ImageDesc.Height),
                        {}};
            for (int p = 0; p < image.ImageDesc.Width * image.ImageDesc.Height; ++p) {
                const GifColorType colour = map->Colors[image.RasterBits[p]];
                frame.rgb.insert(frame.rgb.end(), {colour.Red, colour.Green, colour.Blue});
            }
            decoded.frames.push_back(std::move(frame));
            GraphicsControlBlock control;
            DGifSavedExtensionToGCB(gif, i, &control);
            decoded.delaysMs.push_back(control.DelayTime * 10);
            for (int e = 0; e < image.ExtensionBlockCount; ++e) {
                const ExtensionBlock& block = image.ExtensionBlocks[e];
                decoded.loops = decoded.loops
                    || (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11
                        && std::string(reinterpret_cast<const char*>(block.Bytes), 11) == "NETSCAPE2.0");
            }
        }
    }
    DGifCloseFile(gif, &error);
    return decoded;
}

// The frames of a sheet, cut from its cells, and its index as the sheet should give it.
std::vector<Frame> CutSheet(const PngFile& sheet, std::uint32_t columns, std::uint32_t cellWidth,
                            std::uint32_t cellHeight, std::size_t count)
{
    std::vector<Frame> frames;
    for (std::size_t i = 0; i < count; ++i) {
        Frame cell{0, cellWidth, cellHeight, {}};
        for (std::uint32_t y = 0; y < cellHeight; ++y) {
            const auto& row = sheet.rows.at(i / columns * cellHeight + y);
            const auto from = row.begin() + static_cast<std::ptrdiff_t>(i % columns * cellWidth * 3);
            cell.rgb.insert(cell.rgb.end(), from, from + cellWidth * 3);
        }
        frames.push_back(std::move(cell));
    }
    return frames;
}

std::string ExpectedIndex(const std::vector<Frame>& frames, std::uint32_t columns, std::uint32_t cellWidth,
                          std::uint32_t cellHeight)
{
    std::string json = "{\n  \"frameCount\": " + std::to_string(frames.size())
        + ",\n  \"cellWidth\": " + std::to_string(cellWidth) + ",\n  \"cellHeight\": " + std::to_string(cellHeight)
        + ",\n  \"columns\": " + std::to_string(columns) + ",\n  \"frames\": [";
    for (std::size_t i = 0; i < frames.size(); ++i)
        json += std::string(i == 0 ? "\n" : ",\n") + "    {\"number\": " + std::to_string(frames[i].number)
            + ", \"x\": " + std::to_string(i % columns * cellWidth)
            + ", \"y\": " + std::to_string(i / columns * cellHeight) + ", \"width\": " + std::to_string(frames[i].width)
            + ", \"height\": " + std::to_string(frames[i].height) + "}";
    return json + "\n  ]\n}\n";
}

class AnimationOutputTest : public CliTest {
protected:
    // walk.ani: a type 2 frame, a type 1 frame, frames of unequal size, a frame left out,
    // a base frame and a clear; many.ani: a third frame of more than 256 colours;
    // none.ani: no frames. one.ani, on its own: a single frame.
    void SetUp() override
    {
        const Bytes walk = orv::tools::BuildAnimation({
            Picture(0, 4, 3, 1),
            Picture(2, 4, 3, 2, {1, 1, 3, 2}),
            Bytes{1, 4, 0, 3, 0},
            Picture(0, 6, 2, 3),
            Picture(0, 4, 3, 4),
            Picture(2, 4, 3, 5, {0, 0, 2, 2}),
            Picture(2, 3, 5, 6, {1, 1, 3, 4}),
        });
        auto spread = [](int x, int y) { return x + y * 16; };
        const Bytes many = orv::tools::BuildAnimation({
            Picture(0, 32, 32, 7, {}, spread),
            Picture(2, 32, 32, 8, {16, 0, 32, 16}, spread),
            Picture(2, 32, 32, 9, {0, 16, 32, 32}, spread),
        });
        pack = Input("pack.dat",
                     orv::tools::BuildPack({{"walk.ani", walk}, {"many.ani", many}, {"none.ani", Bytes{0, 0, 0, 0}}}));
        one = Input("one.ani", orv::tools::BuildAnimation({Picture(0, 5, 4, 10)}));
        settings = Input("anim.ini", orv::tools::BytesOf("[walk.ani]\np5=5\np6=2\np7=-1\n"));
    }

    Process::Result ConvertAs(const std::string& folder, std::vector<std::string> options)
    {
        options.insert(options.begin(), {"-o", (root() / folder).string(), "-s", settings});
        options.insert(options.end(), {pack, one});
        return Run(options);
    }

    std::string pack, one, settings;
};

TEST_F(AnimationOutputTest, EveryFileShowsTheComposedFramesOnACellOfTheLargestSize)
{
    ASSERT_EQ(ConvertAs("frames", {"--animation", "frames", "-f", "bmp", "-j", "1"}).exitCode, 0);
    struct Animation {
        std::string folder, stem;
        std::vector<Frame> frames;
        std::uint32_t cellWidth = 0, cellHeight = 0;
    };
    std::vector<Animation> animations{{"pack", "walk", {}}, {"pack", "many", {}}, {"one", "one", {}}};
    for (Animation& a : animations) {
        a.frames = ReferenceFrames(root() / "frames" / a.folder, a.stem);
        for (const Frame& frame : a.frames) {
            a.cellWidth = std::max(a.cellWidth, frame.width);
            a.cellHeight = std::max(a.cellHeight, frame.height);
        }
    }
    // What the reference holds: the left-out and type 1 frames missing, sizes unequal.
    std::vector<int> walkNumbers;
    for (const Frame& frame : animations[0].frames) walkNumbers.push_back(frame.number);
    ASSERT_EQ(walkNumbers, (std::vector<int>{1, 2, 4, 6, 7}));
    ASSERT_EQ(animations[0].cellWidth * 100 + animations[0].cellHeight, 605u);
    ASSERT_GT(ColourCount(animations[1].frames[2]), 256u);

    for (const std::string mode : {"webp", "gif", "sheet"}) {
        SCOPED_TRACE(mode);
        const auto result = ConvertAs(mode, {"--animation", mode, "--frame-ms", "70", "-j", "2"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const std::string manyGif = (root() / mode / "pack" / "many.gif").string();
        EXPECT_EQ(result.err,
                  mode == "gif" ? "orvconv-cli: 256色を超えるフレームを減色しました。\norvconv-cli: " + manyGif + "\n"
                                : "");
        const std::vector<std::string> files = mode == "sheet"
            ? std::vector<std::string>{"many_sheet.json", "many_sheet.png", "walk_sheet.json", "walk_sheet.png"}
            : std::vector<std::string>{"many." + mode, "walk." + mode};
        EXPECT_EQ(FilesIn(root() / mode / "pack"), files);  // nothing for none.ani

        for (const Animation& a : animations) {
            SCOPED_TRACE(a.stem);
            const auto folder = root() / mode / a.folder;
            std::vector<Frame> got;
            if (mode == "sheet") {
                const std::optional<PngFile> sheet = ReadPngFile(folder / (a.stem + "_sheet.png"));
                ASSERT_TRUE(sheet);
                const auto columns = static_cast<std::uint32_t>(a.frames.size());
                EXPECT_EQ(sheet->width, columns * a.cellWidth);
                EXPECT_EQ(sheet->height, a.cellHeight);
                got = CutSheet(*sheet, columns, a.cellWidth, a.cellHeight, a.frames.size());
                EXPECT_EQ(ReadAll(folder / (a.stem + "_sheet.json")),
                          orv::tools::BytesOf(ExpectedIndex(a.frames, columns, a.cellWidth, a.cellHeight)));
            } else {
                const Decoded decoded
                    = mode == "webp" ? DecodeWebp(folder / (a.stem + ".webp")) : DecodeGif(folder / (a.stem + ".gif"));
                // libwebp's encoder makes a single frame a still picture, with no timing.
                if (mode == "gif" || a.frames.size() > 1) {
                    EXPECT_TRUE(decoded.loops);
                    EXPECT_EQ(decoded.delaysMs, std::vector<int>(a.frames.size(), 70));
                }
                got = decoded.frames;
            }
            ASSERT_EQ(got.size(), a.frames.size());
            for (std::size_t i = 0; i < got.size(); ++i) {
                const Frame expected = OnCell(a.frames[i], a.cellWidth, a.cellHeight);
                if (mode == "gif" && ColourCount(expected) > 256) {
                    EXPECT_LE(ColourCount(got[i]), 256u);
                    continue;
                }
                EXPECT_EQ(got[i].width * 100000 + got[i].height, expected.width * 100000 + expected.height);
                EXPECT_TRUE(got[i].rgb == expected.rgb) << "frame " << a.frames[i].number;
            }
        }
    }
}

TEST_F(AnimationOutputTest, SheetColumnsWrapRowsAndAniRawStillCopies)
{
    auto result = ConvertAs("sheet", {"--animation", "sheet", "--sheet-columns", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Bytes bytes = ReadAll(root() / "sheet" / "pack" / "walk_sheet.json");
    const std::string index(bytes.begin(), bytes.end());
    EXPECT_NE(index.find("\"columns\": 2,"), std::string::npos) << index;
    // Five frames of 6 x 5 in rows of two: three rows.
    const std::optional<PngFile> sheet = ReadPngFile(root() / "sheet" / "pack" / "walk_sheet.png");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->width * 100 + sheet->height, 1215u);
    EXPECT_TRUE(std::all_of(sheet->rows.begin() + 10, sheet->rows.end(), [](const auto& row) {
        return std::all_of(row.begin() + 18, row.end(), [](std::uint8_t byte) { return byte == 0; });
    })) << "the cell without a frame is black";

    result = ConvertAs("raw", {"--animation", "webp", "--ani-raw"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(FilesIn(root() / "raw" / "pack"), (std::vector<std::string>{"many.ani", "none.ani", "walk.ani"}));
    EXPECT_EQ(FilesIn(root() / "raw" / "one"), std::vector<std::string>{"one.webp"});
}

TEST_F(AnimationOutputTest, OptionsOutOfRangeAreUsageErrors)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--animation", "apng", one},
                                                 {"--frame-ms", "0", one},
                                                 {"--frame-ms", "655351", one},
                                                 {"--sheet-columns", "0", one}}) {
        const auto result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
    }
}

}  // namespace

namespace {

// What libwebp's demuxer finds in a file: its frames and each one's duration.
std::vector<int> WebpDurations(const std::filesystem::path& path)
{
    const Bytes bytes = ReadAll(path);
    const WebPData data{bytes.data(), bytes.size()};
    WebPDemuxer* demuxer = WebPDemux(&data);
    std::vector<int> durations;
    if (demuxer == nullptr) return durations;
    WebPIterator frame;
    if (WebPDemuxGetFrame(demuxer, 1, &frame) != 0) {
        do {
            durations.push_back(frame.duration);
        } while (WebPDemuxNextFrame(&frame) != 0);
        WebPDemuxReleaseIterator(&frame);
    }
    WebPDemuxDelete(demuxer);
    return durations;
}

}  // namespace

TEST_F(AnimationOutputTest, RepeatedFramesAreFramesOfTheirOwnInWebp)
{
    // Frames 2 and 3 repeat frame 1 (a whole picture again, and a rectangle of the same
    // pixels); frame 5 repeats frame 4.
    const Bytes a = Picture(0, 6, 4, 1);
    const Bytes b = Picture(0, 6, 4, 2);
    const std::string still
        = Input("still.ani", orv::tools::BuildAnimation({a, a, Picture(2, 6, 4, 1, {1, 1, 3, 3}), b, b}));
    const std::string frames = (root() / "frames").string();
    const std::string webp = (root() / "webp").string();
    ASSERT_EQ(Run({"-o", frames, "--animation", "frames", "-f", "bmp", still}).exitCode, 0);
    ASSERT_EQ(Run({"-o", webp, "--animation", "webp", "--frame-ms", "90", still}).exitCode, 0);

    const std::filesystem::path file = root() / "webp" / "still" / "still.webp";
    EXPECT_EQ(WebpDurations(file), std::vector<int>(5, 90));
    const Decoded decoded = DecodeWebp(file);
    const std::vector<Frame> expected = ReferenceFrames(root() / "frames" / "still", "still");
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_TRUE(expected[1].rgb == expected[0].rgb && expected[2].rgb == expected[0].rgb);
    EXPECT_TRUE(expected[4].rgb == expected[3].rgb);
    ASSERT_EQ(decoded.frames.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(decoded.frames[i].rgb == expected[i].rgb) << i;
}

TEST_F(AnimationOutputTest, MoreSheetColumnsThanFramesMakeOneRowAsWideAsTheFrames)
{
    const auto result = ConvertAs("sheet", {"--animation", "sheet", "--sheet-columns", "40"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Bytes bytes = ReadAll(root() / "sheet" / "pack" / "walk_sheet.json");
    const std::string index(bytes.begin(), bytes.end());
    // Five frames shown (two are left out or of type 1) in cells of 6 x 5.
    EXPECT_NE(index.find("\"frameCount\": 5,"), std::string::npos) << index;
    EXPECT_NE(index.find("\"columns\": 5,"), std::string::npos) << index;
    const std::optional<PngFile> sheet = ReadPngFile(root() / "sheet" / "pack" / "walk_sheet.png");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->width * 100 + sheet->height, 3005u);
}
