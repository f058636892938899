// Folders whose animations were converted into one file that plays them (--animation
// webp, gif, sheet) go back: the files are read back into frames (libwebp's animation
// decoder, giflib, the sheet's JSON), and converting the packed archive the same way
// gives the same files again, its frames the same pictures as the original's.
#include <gtest/gtest.h>

#include "orvpack_fixture.h"
#include "tools/ani_writer.h"

using orv::tools::Bytes;

namespace {

class PlayedBackTest : public OrvpackTest {
protected:
    // walk.ani: frames of one size, a raw frame (type 5) among them, a frame like the one
    // before; title.cg beside it.
    std::string Archive()
    {
        Bytes raw{5, 1, 2, 3};
        const Bytes first = StripedPicture(0, 12, 8, 1, {0, 0, 12, 8}, 8);
        const Bytes walk = orv::tools::BuildAnimation({
            first,
            StripedPicture(2, 12, 8, 2, {2, 1, 9, 5}, 8),
            StripedPicture(2, 12, 8, 2, {2, 1, 9, 5}, 8),
            StripedPicture(2, 12, 8, 3, {5, 3, 12, 8}, 8),
            raw,
        });
        return Write("game.dat", orv::tools::BuildPack({{"title.cg", first}, {"walk.ani", walk}}));
    }
};

TEST_F(PlayedBackTest, EachWayOfPlayingGoesBackIntoTheSameFrames)
{
    const std::string archive = Archive();
    const auto frames = Tree(Convert(archive, "frames"));
    ASSERT_TRUE(frames.contains("walk.ani_0005"));
    for (const std::string as : {"webp", "gif", "sheet"}) {
        SCOPED_TRACE(as);
        const std::filesystem::path folder = Convert(archive, as, {"--animation", as});
        const std::string packed = (dir.path() / (as + ".dat")).string();
        const Process::Result result = Pack({"--animation", as, "-o", packed, folder.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, as + "-again", {"--animation", as})), Tree(folder)),
                  std::vector<std::string>{});
        EXPECT_EQ(Differing(Tree(Convert(packed, as + "-frames")), frames), std::vector<std::string>{});
    }
}

TEST_F(PlayedBackTest, AGifOfReducedFramesIsRefusedWithTheReason)
{
    // Three rectangles of 128 colours each: the last composed frame shows 384.
    const auto frame = [](std::uint8_t type, int seed, std::array<std::uint16_t, 4> rect) {
        return StripedPicture(type, 48, 48, seed, rect, 128);
    };
    const Bytes many = orv::tools::BuildAnimation(
        {frame(0, 1, {0, 0, 48, 48}), frame(2, 2, {0, 0, 48, 16}), frame(2, 3, {0, 32, 48, 48})});
    const std::string archive = Write("many.dat", orv::tools::BuildPack({{"many.ani", many}}));
    const std::filesystem::path folder = Convert(archive, "gif", {"--animation", "gif"});
    const Process::Result result = Pack({"--animation", "gif", "-o", (dir.path() / "x.dat").string(), folder.string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("many.gif: frame 3 was reduced to 256 colours"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.dat"));

    // Without --animation the GIF is a file like any other.
    const Process::Result raw = Pack({"-o", (dir.path() / "raw.dat").string(), folder.string()});
    EXPECT_EQ(raw.exitCode, 0) << raw.err;
}

}  // namespace

// Frames the settings leave out are in no played file: the frames after them keep their
// numbers, so that the same settings leave the same frames out of the packed animation.
TEST_F(PlayedBackTest, FramesTheSettingsLeaveOutKeepTheirNumbers)
{
    const std::string archive = Archive();
    const std::string settings = Write("walk.ini", orv::tools::BytesOf("[walk.ani]\np2=2\np4=1\n"));
    const auto frames = Tree(Convert(archive, "frames", {"-s", settings}));
    for (const std::string as : {"webp", "gif"}) {
        SCOPED_TRACE(as);
        const std::filesystem::path folder = Convert(archive, as, {"-s", settings, "--animation", as});
        const std::string packed = (dir.path() / (as + ".dat")).string();
        const Process::Result result = Pack({"-s", settings, "--animation", as, "-o", packed, folder.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, as + "-again", {"-s", settings, "--animation", as})), Tree(folder)),
                  std::vector<std::string>{});
        EXPECT_EQ(Differing(Tree(Convert(packed, as + "-frames", {"-s", settings})), frames),
                  std::vector<std::string>{});
    }
}
