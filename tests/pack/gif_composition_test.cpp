// GIFs as GIF editors write them go back as a GIF decoder shows them: each image at its
// offset over what came before, transparent pixels showing through, then disposed of to
// what was there before it or to no frame at all. The frames orvpack packs are read back
// from the BMP files orvconv-cli writes for them.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "orvpack_fixture.h"

namespace {

constexpr int kWidth = 4;
constexpr int kHeight = 2;
constexpr int kTransparent = 3;
// Blue, green, red as the BMP files hold them, of GIF colours 0, 1 and 2.
using Bgr = std::array<std::uint8_t, 3>;
const std::array<Bgr, 3> kColours{Bgr{30, 20, 10}, Bgr{60, 50, 40}, Bgr{90, 80, 70}};

struct Image {
    int left, top, width, height;
    std::vector<GifByteType> pixels;
    int disposal;
    bool interlaced = false;
};

// A GIF of 4 x 2 (or the size given) with one colour table, each image shown for a tenth
// of a second; interlaced images hold every eighth row from the first, every eighth from the
// fifth, every fourth from the third, then every second from the second.
void WriteGif(const std::string& path, const std::vector<Image>& images, int width = kWidth, int height = kHeight)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    ASSERT_NE(gif, nullptr);
    std::array<GifColorType, 4> colours{};
    for (std::size_t c = 0; c < kColours.size(); ++c) colours[c] = {kColours[c][2], kColours[c][1], kColours[c][0]};
    ColorMapObject* map = GifMakeMapObject(4, colours.data());
    EGifSetGifVersion(gif, true);
    ASSERT_EQ(EGifPutScreenDesc(gif, width, height, 8, 0, map), GIF_OK);
    for (const Image& image : images) {
        const GraphicsControlBlock control{image.disposal, false, 10, kTransparent};
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        ASSERT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension), GIF_OK);
        ASSERT_EQ(EGifPutImageDesc(gif, image.left, image.top, image.width, image.height, image.interlaced, nullptr),
                  GIF_OK);
        std::vector<GifByteType> pixels = image.pixels;
        std::vector<int> rows;
        for (const auto& [first, step] : image.interlaced
                 ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                 : std::vector<std::pair<int, int>>{{0, 1}})
            for (int y = first; y < image.height; y += step) rows.push_back(y);
        for (const int y : rows)
            ASSERT_EQ(EGifPutLine(gif, &pixels[static_cast<std::size_t>(y * image.width)], image.width), GIF_OK);
    }
    GifFreeMapObject(map);
    ASSERT_EQ(EGifCloseFile(gif, &error), GIF_OK);
}

Bgr PixelOf(const std::vector<std::uint8_t>& bmp, int x, int y)
{
    const std::size_t at = 54 + static_cast<std::size_t>((kHeight - 1 - y) * kWidth * 3 + x * 3);
    return {bmp.at(at), bmp.at(at + 1), bmp.at(at + 2)};
}

TEST_F(OrvpackTest, GifImagesAreComposedWithTheirOffsetsTransparencyAndDisposal)
{
    const std::filesystem::path folder = dir.path() / "game";
    std::filesystem::create_directory(folder);
    const std::vector<Image> images{
        {0, 0, 4, 2, std::vector<GifByteType>(8, 0), DISPOSE_DO_NOT},
        {1, 0, 2, 1, {1, kTransparent}, DISPOSE_PREVIOUS},
        {3, 1, 1, 1, {2}, DISPOSE_BACKGROUND},
        {3, 1, 1, 1, {1}, DISPOSAL_UNSPECIFIED},
    };
    WriteGif((folder / "walk.gif").string(), images);
    const std::string packed = (dir.path() / "game.dat").string();
    const Process::Result result = Pack({"--animation", "gif", "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::filesystem::path frames = Convert(packed, "out");

    // Every pixel colour 0 but those listed: frame 2 draws (1, 0), its transparent pixel
    // showing frame 1; frame 3 finds frame 2 undone; frame 4 finds frame 3's pixel cleared
    // and draws its own there.
    const std::array<std::vector<std::pair<std::array<int, 2>, int>>, 4> changed{{
        {},
        {{{1, 0}, 1}},
        {{{3, 1}, 2}},
        {{{3, 1}, 1}},
    }};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE("frame " + std::to_string(k + 1));
        const std::vector<std::uint8_t> bmp = ReadAll(frames / ("walk_000" + std::to_string(k + 1) + ".bmp"));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                int colour = 0;
                for (const auto& [at, c] : changed[static_cast<std::size_t>(k)])
                    if (at == std::array<int, 2>{x, y}) colour = c;
                EXPECT_EQ(PixelOf(bmp, x, y), kColours[static_cast<std::size_t>(colour)]) << x << "," << y;
            }
    }

    // Frame 4 drawing elsewhere, frame 3's pixel, cleared to no frame, shows through: a
    // frame showing a transparent pixel is refused.
    WriteGif((folder / "walk.gif").string(), {images[0], images[1], images[2], {0, 0, 1, 1, {1}, DISPOSE_DO_NOT}});
    const Process::Result hole
        = Pack({"--animation", "gif", "-o", (dir.path() / "hole.dat").string(), folder.string()});
    EXPECT_EQ(hole.exitCode, 1);
    EXPECT_NE(hole.err.find("walk.gif: frame 4 shows transparent pixels"), std::string::npos) << hole.err;
}

// An interlaced image's rows land where they belong; an image too large to keep is refused
// from its descriptor, before any pixel is read.
TEST_F(OrvpackTest, GifImagesAreReadRowsInPlaceAndWeighedBeforeTheirPixels)
{
    const std::filesystem::path folder = dir.path() / "game";
    std::filesystem::create_directory(folder);
    constexpr int kRows = 11;
    std::vector<GifByteType> column;
    for (int y = 0; y < kRows; ++y) column.push_back(static_cast<GifByteType>(y % 3));
    WriteGif((folder / "walk.gif").string(), {{0, 0, 1, kRows, column, DISPOSE_DO_NOT, true}}, 1, kRows);
    const std::string packed = (dir.path() / "game.dat").string();
    const Process::Result result = Pack({"--animation", "gif", "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::uint8_t> bmp = ReadAll(Convert(packed, "out") / "walk_0001.bmp");
    // Rows of one pixel, padded to 4 bytes, bottom row first.
    ASSERT_EQ(bmp.size(), 54u + 4u * kRows);
    for (int y = 0; y < kRows; ++y) {
        const std::size_t at = 54 + 4 * static_cast<std::size_t>(kRows - 1 - y);
        EXPECT_EQ((Bgr{bmp[at], bmp[at + 1], bmp[at + 2]}), kColours[static_cast<std::size_t>(y % 3)]) << "row " << y;
    }

    // A screen of 1 x 1 and an image of 65,535 x 65,535 whose pixels never come.
    const std::vector<std::uint8_t> claim{'G', 'I', 'F', '8',  '9', 'a', 1, 0, 1,    0,    0x80, 0,    0, 0, 0, 0,
                                          255, 255, 255, 0x2c, 0,   0,   0, 0, 0xff, 0xff, 0xff, 0xff, 0, 2, 0, 0x3b};
    ASSERT_TRUE(orv::tools::WriteFileBytes((folder / "walk.gif").string(), claim));
    const Process::Result large
        = Pack({"--animation", "gif", "-o", (dir.path() / "large.dat").string(), folder.string()});
    EXPECT_EQ(large.exitCode, 1);
    EXPECT_NE(large.err.find("walk.gif: its frames would take more than 1024 MiB"), std::string::npos) << large.err;
}

}  // namespace

// Images of any offset and size, cut or mutated files: packed or refused with a reason
// (status 0 or 1), never a crash.
TEST_F(OrvpackTest, MutatedGifsArePackedOrRefused)
{
    const std::filesystem::path folder = dir.path() / "game";
    std::filesystem::create_directory(folder);
    const std::string gif = (folder / "walk.gif").string();
    WriteGif(gif,
             {{0, 0, 4, 2, std::vector<GifByteType>(8, 0), DISPOSE_DO_NOT},
              {2, 1, 3, 2, {1, 2, kTransparent, 2, 1, 0}, DISPOSE_PREVIOUS},
              {1, 0, 1, 1, {2}, DISPOSE_BACKGROUND}});
    const std::vector<std::uint8_t> whole = ReadAll(gif);
    std::mt19937 random(35);
    for (int round = 0; round < 40; ++round) {
        std::vector<std::uint8_t> bytes = whole;
        if (round % 4 == 0) bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size())(random));
        for (int flips = round % 4; flips > 0 && !bytes.empty(); --flips)
            bytes[std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random)]
                = static_cast<std::uint8_t>(random());
        ASSERT_TRUE(orv::tools::WriteFileBytes(gif, bytes));
        const Process::Result result
            = Pack({"--animation", "gif", "-o", (dir.path() / "out.dat").string(), folder.string()});
        EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << round << ": " << result.exitCode << result.err;
    }
}
