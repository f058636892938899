// A disk that fills up while a file is written ends the run with the write error (the
// PNG error for PNG files) and exit code 1, never with the message of a finished run.
#include <random>

#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "fault_fixture.h"
#include "tools/sound_writer.h"

namespace faults {
namespace {

constexpr rlim_t kFileSizeLimit = 64 * 1024;

// 300 x 300 pixels of random colours: too large for the limit in BMP and in PNG.
Bytes NoisyPicture()
{
    orv::tools::CgPicture picture;
    picture.width = 300;
    picture.height = 300;
    picture.right = 300;
    picture.bottom = 300;
    std::mt19937 random(7);
    for (std::uint8_t& byte : picture.palette) byte = static_cast<std::uint8_t>(random());
    for (int i = 0; i < 300 * 300; ++i) picture.pixels.push_back(static_cast<std::uint8_t>(random() % 128));
    return orv::tools::EncodeCg(picture);
}

Bytes Sound(std::size_t bytes)
{
    return orv::tools::BuildSoundEntry(orv::kSoundStereo44100, std::vector<std::int16_t>(bytes / 2, 1000));
}

struct FullDiskCase {
    const char* entry;
    Bytes bytes;
    std::vector<std::string> options;
    std::string written;  // the file that fills the disk
    bool png = false;
};

class FullDiskTest : public FaultTest {
protected:
    // error: the system's reason the run gives for the file it cannot write.
    void ExpectWriteErrorFor(const FullDiskCase& c, const Limits& limits, int error)
    {
        SCOPED_TRACE(c.entry);
        std::vector<std::string> args = c.options;
        args.push_back(Input("full.dat", orv::tools::BuildPack({{c.entry, c.bytes}, {"after.txt", {1}}})));
        const auto result = Convert(args, limits);
        EXPECT_EQ(result.exitCode, 1);
        const std::string path = Out("full", c.written);
        // One message: libpng's own lines go nowhere.
        EXPECT_EQ(result.err, c.png ? PngError(path) : WriteError(path, error));
        EXPECT_EQ(result.out.find("変換終了しました。"), std::string::npos) << result.out;
        std::filesystem::remove_all(root() / "full");
    }

    std::vector<FullDiskCase> Cases() const
    {
        const Bytes picture = NoisyPicture();
        return {
            {"big.bin", Bytes(256 * 1024, 7), {}, "big.bin"},
            {"noise.cg", picture, {}, "noise.bmp"},
            {"noise.cg", picture, {"-f", "png"}, "noise.png", true},
            {"walk.ani", orv::tools::BuildAnimation({picture}), {}, "walk_0001.bmp"},
            {"walk.ani", orv::tools::BuildAnimation({picture}), {"--ani-raw"}, "walk.ani"},
            {"walk.ani", orv::tools::BuildAnimation({picture}), {"--animation", "webp"}, "walk.webp"},
            {"walk.ani", orv::tools::BuildAnimation({picture}), {"--animation", "gif"}, "walk.gif"},
            {"walk.ani", orv::tools::BuildAnimation({picture}), {"--animation", "sheet"}, "walk_sheet.png", true},
            {"short.pcm", Sound(200 * 1024), {}, "short.wav"},
            // Beyond the size read whole: copied through the chunk.
            {"long.pcm", Sound(3 * 1024 * 1024), {}, "long.wav"},
        };
    }
};

TEST_F(FullDiskTest, EveryWriterReportsTheFileSizeLimit)
{
    for (const FullDiskCase& c : Cases()) ExpectWriteErrorFor(c, {kFileSizeLimit, {}}, EFBIG);
}

TEST_F(FullDiskTest, EveryWriterReportsAFullFileSystem)
{
    // A file system of 64 KiB mounted over the output root for the program alone.
    const auto probe = Convert({"--version"}, {{}, SmallFileSystemAt(root(), kFileSizeLimit)});
    if (probe.exitCode == kNoNamespace) GTEST_SKIP() << "this user cannot mount a file system";
    for (const FullDiskCase& c : Cases())
        ExpectWriteErrorFor(c, {{}, SmallFileSystemAt(root(), kFileSizeLimit)}, ENOSPC);
}

TEST_F(FullDiskTest, OutputFarLargerThanTheInputStopsAtTheFullDisk)
{
    // 1 MiB of zeros behind a first table slot of 0xFFFFFFFF: a quarter million slots,
    // each naming the whole data, which starts with 0xFF, a type copied raw. That is
    // 256 GiB of frames; a disk of 8 MiB ends the run with the write error.
    Bytes animation(1 << 20, 0);
    std::fill_n(animation.begin(), 4, 0xFF);
    const std::string input = Input("many.ani", animation);
    const auto result = Convert({input}, {{}, SmallFileSystemAt(root(), 8 << 20)});
    if (result.exitCode == kNoNamespace) GTEST_SKIP() << "this user cannot mount a file system";
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.starts_with("orvconv-cli: ファイル書き込みエラー！\n" + Out("many", "many.ani_")))
        << result.err;
    EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace faults
