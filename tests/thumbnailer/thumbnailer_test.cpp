// orvconv-thumbnailer run as a file manager runs it: the command line of the package's
// .thumbnailer file, its PNG read back by libpng and compared with what orvconv-cli
// writes for the entry it shows.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "build_paths.h"
#include "png_reader.h"
#include "process.h"
#include "picture_bytes.h"
#include "random_archive.h"
#include "temp_dir.h"
#include "engine/base/fatal_error.h"
#include "thumbnail/first_picture.h"
#include "thumbnail/scale_to_fit.h"
#include "tools/pack_writer.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

// The .thumbnailer file's keys.
std::map<std::string, std::string> ThumbnailerEntry()
{
    std::ifstream in(std::string(build_paths::kPackagingDir) + "/orvconv.thumbnailer");
    std::map<std::string, std::string> keys;
    for (std::string line; std::getline(in, line);)
        if (const std::size_t eq = line.find('='); eq != std::string::npos)
            keys[line.substr(0, eq)] = line.substr(eq + 1);
    return keys;
}

struct Rgb {
    int red, green, blue;
};

Rgb At(const PngFile& png, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* p = png.rows[y].data() + std::size_t{x} * 3;
    return {p[0], p[1], p[2]};
}

}  // namespace

class ThumbnailerTest : public ::testing::Test {
protected:
    TempDir dir;

    std::string Write(const std::string& name, const Bytes& bytes)
    {
        const std::string path = (dir.path() / name).string();
        EXPECT_TRUE(orv::tools::WriteFileBytes(path, bytes));
        return path;
    }

    // The thumbnailer as the .thumbnailer file's Exec line runs it.
    Process::Result Thumbnail(const std::string& input, int size, const std::string& output)
    {
        std::istringstream exec(ThumbnailerEntry()["Exec"]);
        std::vector<std::string> args;
        for (std::string word; exec >> word;) {
            if (word == "%s") word = std::to_string(size);
            if (word == "%i") word = input;
            if (word == "%o") word = output;
            args.push_back(word);
        }
        EXPECT_EQ(args.at(0), "orvconv-thumbnailer");
        args.erase(args.begin());
        return Process(build_paths::kThumbnailer, args, dir.path()).Wait(std::chrono::seconds(20));
    }

    // orvconv-cli's PNG of the first entry (named letter + index, in that order) that
    // writes a picture: NAME.png, or an animation's lowest-numbered frame.
    PngFile FirstConvertedPicture(const std::string& input, int entries)
    {
        const std::filesystem::path out = dir.path() / "cli";
        std::filesystem::remove_all(out);
        const Process::Result cli
            = Process(build_paths::kCli, {"-q", "-f", "png", "-o", out.string(), input}, dir.path()).Wait();
        EXPECT_EQ(cli.exitCode, 0) << cli.err;
        const std::filesystem::path folder = out / std::filesystem::path(input).stem();
        const std::vector<std::string> files = FilesIn(folder);
        for (int i = 0; i < entries; ++i) {
            for (const std::string& file : files) {
                const std::size_t digits = file.find_first_not_of("0123456789", 1);
                if (file.substr(1, digits - 1) != std::to_string(i) || !file.ends_with(".png")) continue;
                return *ReadPngFile(folder / file);  // FilesIn sorts: frame _0001 before _0002
            }
        }
        ADD_FAILURE() << "no picture converted";
        return {};
    }
};

// Pictures that fit come out pixel for pixel; larger ones scaled to fit, each pixel lying
// within the colours of the part of the picture it stands for; the first picture is
// found past entries that show none, in an animation, and in an archive named otherwise.
TEST_F(ThumbnailerTest, TheFirstPictureScaledToFitAsTheDesktopAsksForIt)
{
    const auto keys = ThumbnailerEntry();
    EXPECT_EQ(keys.at("TryExec"), "orvconv-thumbnailer");
    EXPECT_EQ(keys.at("MimeType"), "application/x-orvenda-pack;application/x-orvenda-animation;");

    struct Case {
        std::string name;
        Bytes bytes;
        int entries;
        int size;
    };
    RandomArchive random(3);
    std::vector<Case> cases{
        {"blocks.dat",
         orv::tools::BuildPack({{"r0.txt", BytesOf("x")}, {"s1.pcm", random.Sound()}, {"p2.cg", BlockPicture()}}), 3,
         64},
        {"half.dat", orv::tools::BuildPack({{"p0.cg", BlockPicture()}}), 1, 256},
        {"small.dat", orv::tools::BuildPack({{"f0.cg", {1, 4, 0, 4, 0}}, {"p1.cg", random.Picture(40)}}), 2, 128},
        {"data.bin.dat", orv::tools::BuildPack({{"a0.ani", random.Animation(300, 3)}, {"p1.cg", random.Picture(9)}}), 2,
         48},
    };
    for (unsigned seed = 10; seed < 14; ++seed) {
        RandomArchive more(seed);
        std::string settings;
        cases.push_back(
            {"random" + std::to_string(seed) + ".dat", more.Archive(8, 200, settings), 8, 32 << (seed % 3)});
    }
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const PngFile expected = FirstConvertedPicture(Write(test.name, test.bytes), test.entries);
        // The desktop types an archive by its content, whatever its name.
        std::string input = (dir.path() / test.name).string();
        if (test.name == "data.bin.dat") {
            std::filesystem::rename(input, dir.path() / "data.bin");
            input = (dir.path() / "data.bin").string();
        }
        const std::string output = (dir.path() / "thumb.png").string();
        std::filesystem::remove(output);
        const Process::Result run = Thumbnail(input, test.size, output);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::optional<PngFile> thumb = ReadPngFile(output);
        ASSERT_TRUE(thumb.has_value());
        const auto longer = static_cast<int>(std::max(expected.width, expected.height));
        if (longer <= test.size) {
            EXPECT_EQ(thumb->rows, expected.rows);
            continue;
        }
        EXPECT_EQ(static_cast<int>(std::max(thumb->width, thumb->height)), test.size);
        // In proportion, to the nearest pixel.
        EXPECT_NEAR(thumb->width, double(expected.width) * test.size / longer, 0.5);
        EXPECT_NEAR(thumb->height, double(expected.height) * test.size / longer, 0.5);
        const double scale = double(expected.width) / thumb->width;
        for (std::uint32_t y = 0; y < thumb->height; ++y) {
            for (std::uint32_t x = 0; x < thumb->width; ++x) {
                const Rgb got = At(*thumb, x, y);
                // The part of the picture the pixel stands for, a pixel wider each way.
                Rgb low{255, 255, 255};
                Rgb high{0, 0, 0};
                const auto x0 = static_cast<std::uint32_t>(std::max(0.0, x * scale - 1));
                const auto y0 = static_cast<std::uint32_t>(std::max(0.0, y * scale - 1));
                const auto x1 = std::min(expected.width, static_cast<std::uint32_t>((x + 1) * scale + 1));
                const auto y1 = std::min(expected.height, static_cast<std::uint32_t>((y + 1) * scale + 1));
                for (std::uint32_t sy = y0; sy < y1; ++sy) {
                    for (std::uint32_t sx = x0; sx < x1; ++sx) {
                        const Rgb p = At(expected, sx, sy);
                        low = {std::min(low.red, p.red), std::min(low.green, p.green), std::min(low.blue, p.blue)};
                        high = {std::max(high.red, p.red), std::max(high.green, p.green), std::max(high.blue, p.blue)};
                    }
                }
                ASSERT_TRUE(got.red >= low.red && got.red <= high.red && got.green >= low.green
                            && got.green <= high.green && got.blue >= low.blue && got.blue <= high.blue)
                    << "pixel " << x << "," << y;
            }
        }
        // Inside a block of one colour, the thumbnail has that colour exactly.
        if (test.name == "blocks.dat" || test.name == "half.dat") {
            const auto block = static_cast<std::uint32_t>(64 / scale);
            for (std::uint32_t y = block / 2; y < thumb->height; y += block)
                for (std::uint32_t x = block / 2; x < thumb->width; x += block) {
                    const Rgb want
                        = At(expected, static_cast<std::uint32_t>(x * scale), static_cast<std::uint32_t>(y * scale));
                    const Rgb got = At(*thumb, x, y);
                    EXPECT_TRUE(got.red == want.red && got.green == want.green && got.blue == want.blue);
                }
        }
    }
}

// A file that shows nothing, claims more than it holds or never ends gives no thumbnail:
// status 1, no PNG, in bounded time and memory.
TEST_F(ThumbnailerTest, WhatShowsNoPictureGivesNoThumbnail)
{
    Bytes huge{0, 0xFF, 0xFF, 0xFF, 0xFF};  // a picture of 65535 x 65535 pixels
    huge.resize(huge.size() + 384 + 16, 0x81);
    Bytes cut = orv::tools::BuildPack({{"p0.cg", BlockPicture()}});
    cut.resize(20);  // within the table
    const std::string fifo = (dir.path() / "never.ani").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> inputs{
        Write("notes.dat", BytesOf("not an archive")),
        Write("empty.dat", {}),
        Write("sounds.dat", orv::tools::BuildPack({{"s0.pcm", {0, 0, 0, 6, 1, 2}}, {"r1.txt", BytesOf("x")}})),
        Write("huge.dat", orv::tools::BuildPack({{"p0.cg", huge}})),
        Write("huge.ani", AnimationOf({{1, 4, 0, 4, 0}, huge})),
        Write("cut.dat", cut),
        Write("notes.txt", BytesOf("pac")),
        (dir.path() / "gone.dat").string(),
        fifo,
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input);
        const std::string output = (dir.path() / "thumb.png").string();
        std::filesystem::remove(output);
        const Process::Result run = Thumbnail(input, 128, output);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_FALSE(std::filesystem::exists(output));
        EXPECT_LT(run.peakKb, 256 * 1024);
    }
}

// A picture 0 pixels wide or high, its other side larger than the thumbnail or not, gives
// no thumbnail at any size the desktop asks for: status 1 with the reason, no PNG. The
// scaling itself gives such a picture back empty, at every side.
TEST_F(ThumbnailerTest, EmptyPicturesGiveNoThumbnailAtAnySize)
{
    const Bytes drawn{1, 4, 0, 4, 0};  // a frame of a type that draws nothing comes first
    std::vector<std::pair<std::string, Bytes>> pictures;
    for (const std::uint16_t other :
         {std::uint16_t{1}, std::uint16_t{300}, std::uint16_t{4097}, std::uint16_t{65535}}) {
        const std::string name = std::to_string(other);
        pictures.push_back({"0x" + name, PictureBytes::Full(0, other, {}, {})});
        pictures.push_back({name + "x0", PictureBytes::Full(other, 0, {}, {})});
    }
    pictures.push_back({"0x0", PictureBytes::Full(0, 0, {}, {})});
    for (const auto& [name, picture] : pictures) {
        const std::vector<std::string> inputs{
            Write(name + ".dat", orv::tools::BuildPack({{"e0.cg", picture}, {"p1.cg", BlockPicture()}})),
            Write(name + ".ani", AnimationOf({drawn, picture})),
        };
        for (const std::string& input : inputs) {
            for (const int size : {1, 32, 64, 128, 256, 512, 1024, 4096}) {
                SCOPED_TRACE(input + " at " + std::to_string(size));
                const std::string output = (dir.path() / "thumb.png").string();
                const Process::Result run = Thumbnail(input, size, output);
                EXPECT_EQ(run.exitCode, 1) << run.err;
                EXPECT_NE(run.err.find(input + ": its first picture is empty"), std::string::npos) << run.err;
                EXPECT_FALSE(std::filesystem::exists(output));
            }
        }
    }
    for (std::uint32_t side = 1; side <= 4096; ++side) {
        for (const orv::RgbImage& empty : {orv::RgbImage{0, side + 1, {}}, orv::RgbImage{side * 3, 0, {}}}) {
            const orv::RgbImage scaled = orv::ScaleToFit(empty, side);
            ASSERT_EQ(std::uint64_t{scaled.width} * scaled.height, 0u) << side;
            ASSERT_TRUE(scaled.rgb.empty());
        }
    }
}

// The watchdog struck at any moment of a run, the commit included: either the thumbnail
// is in place, whole, and the status is 0, or the status is 1 with the reason on stderr
// and nothing is left in the output's folder.
TEST_F(ThumbnailerTest, TheWatchdogNeverLeavesAThumbnailBehindAFailure)
{
    std::vector<std::uint8_t> big{0, 0x00, 0x02, 0x00, 0x02};  // 512 x 512, noise
    for (int i = 0; i < 384; ++i) big.push_back(static_cast<std::uint8_t>(i * 37));
    std::mt19937 noise(7);
    for (int i = 0; i < 512 * 512; ++i) big.push_back(static_cast<std::uint8_t>(0x80 | (noise() & 0x7F)));
    const std::string input = Write("big.dat", orv::tools::BuildPack({{"p0.cg", big}}));
    const std::filesystem::path folder = dir.path() / "thumbs";
    std::filesystem::create_directory(folder);
    const std::string output = (folder / "thumb.png").string();
    const auto run = [&](std::optional<std::chrono::microseconds> strike) {
        std::filesystem::remove(output);
        Process process(build_paths::kThumbnailer, {"-s", "4096", input, output}, dir.path());
        const auto started = std::chrono::steady_clock::now();
        if (strike) {
            std::this_thread::sleep_for(*strike);
            ::kill(process.pid(), SIGALRM);
        }
        const Process::Result result = process.Wait(std::chrono::seconds(20));
        return std::pair{result, std::chrono::steady_clock::now() - started};
    };
    const auto [whole, took] = run(std::nullopt);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(took);
    int written = 0;
    int refused = 0;
    // From early in the run to well past its end (the last strike, loaded machines included).
    for (int step = 2; step <= 21; ++step) {
        const auto strike = step <= 20 ? span * step / 16 : span * 10;
        SCOPED_TRACE("SIGALRM after " + std::to_string(strike.count()) + " us");
        const Process::Result result = run(strike).first;
        if (result.exitCode == 0) {
            ++written;
            const std::optional<PngFile> png = ReadPngFile(output);
            ASSERT_TRUE(png.has_value());
            EXPECT_EQ(png->width, 512u);
            EXPECT_EQ(png->height, 512u);
            EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"thumb.png"});
        } else if (result.signal == SIGALRM) {
            // Struck before its start set the watchdog (slow under the sanitizer): nothing written.
            EXPECT_EQ(FilesIn(folder), std::vector<std::string>{});
        } else {
            ++refused;
            ASSERT_EQ(result.exitCode, 1) << result.err;
            EXPECT_TRUE(result.err.starts_with("orvconv-thumbnailer: ") && result.err.ends_with("\n")) << result.err;
            EXPECT_EQ(FilesIn(folder), std::vector<std::string>{});
        }
    }
    // The strikes cover the run: the first ones end it, the last ones come after it.
    EXPECT_GT(refused, 0);
    if (whole.exitCode == 0) {
        EXPECT_GT(written, 0);
    }
}

namespace {

// The picture paths of the thumbnailer and the grid on one input: the first picture, each
// entry's picture, and each scaled to a few sizes. Whatever they give holds its pixels and
// fits; an input that cannot be read is the fatal error, never a crash.
void ThumbnailPaths(const std::string& path, orv::InputKind kind)
{
    try {
        auto input = std::make_shared<orv::Input>();
        if (input->Open(path, kind) != orv::Input::Opened::Yes) return;
        orv::Reader reader(input);
        std::vector<std::optional<orv::RgbImage>> pictures{orv::FirstPicture(reader)};
        for (std::size_t i = 0; i < reader.entries().size(); ++i) pictures.push_back(orv::EntryPicture(reader, i));
        for (const std::optional<orv::RgbImage>& picture : pictures) {
            if (!picture) continue;
            ASSERT_EQ(picture->rgb.size(), std::size_t{picture->width} * picture->height * 3);
            for (const std::uint32_t side : {1u, 7u, 256u}) {
                const orv::RgbImage scaled = orv::ScaleToFit(*picture, side);
                ASSERT_EQ(scaled.rgb.size(), std::size_t{scaled.width} * scaled.height * 3);
                if (picture->width == 0 || picture->height == 0) {
                    ASSERT_EQ(scaled.width, picture->width);
                    ASSERT_EQ(scaled.height, picture->height);
                } else {
                    ASSERT_LE(std::max(scaled.width, scaled.height), side);
                }
            }
        }
    } catch (const orv::FatalError&) {
        // The read error of an input that ends early, or the memory error of a claim.
    }
}

}  // namespace

// Every truncation of an archive and of an animation file holding 0-sided pictures,
// claims beyond the thumbnail limits and ordinary pictures, and random mutations of
// them, through the thumbnailer's and the grid's picture paths.
TEST(ThumbnailPictureTest, CutAndMutatedInputsNeverBreakThePicturePaths)
{
    TempDir dir;
    RandomArchive random(37);
    const Bytes claim = PictureBytes::Full(6000, 6000, {}, {0x80});  // 36 million pixels
    const Bytes archive = orv::tools::BuildPack({
        {"w0.cg", PictureBytes::Full(0, 300, {}, {})},
        {"a1.ani", AnimationOf({{1, 4, 0, 4, 0}, PictureBytes::Full(300, 0, {}, {}), random.Picture(12)})},
        {"c2.cg", claim},
        {"a3.ani", random.Animation(16, 4)},
        {"p4.cg", random.Picture(24)},
    });
    const Bytes animation = AnimationOf({PictureBytes::Full(0, 0, {}, {}), random.Picture(16), claim});
    const std::string path = (dir.path() / "input").string();
    for (const auto& [whole, kind] :
         {std::pair{archive, orv::InputKind::Archive}, std::pair{animation, orv::InputKind::Animation}}) {
        for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
            ASSERT_TRUE(orv::tools::WriteFileBytes(path, Bytes(whole.begin(), whole.begin() + cut)));
            ThumbnailPaths(path, kind);
        }
        std::mt19937 rng(static_cast<unsigned>(whole.size()));
        for (int round = 0; round < 200; ++round) {
            Bytes mutated = whole;
            for (int k = std::uniform_int_distribution<int>(1, 6)(rng); k > 0; --k)
                mutated[std::uniform_int_distribution<std::size_t>(0, mutated.size() - 1)(rng)]
                    = static_cast<std::uint8_t>(rng());
            ASSERT_TRUE(orv::tools::WriteFileBytes(path, mutated));
            ThumbnailPaths(path, kind);
        }
    }
}
