// Folders whose animations were converted into one file that plays them (--animation
// webp, gif, sheet) go back: the files are read back into frames (libwebp's animation
// decoder, giflib, the sheet's JSON), and converting the packed archive the same way
// gives the same files again, its frames the same pictures as the original's.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "orvpack_fixture.h"
#include "tools/ani_writer.h"

using orv::tools::Bytes;

namespace {

class PlayedBackTest : public OrvpackTest {
protected:
    // walk.ani: frames of one size, a raw frame (type 5) among them, a frame like the one
    // before; title.cg beside it. fourth: the seed of frame 4's colours.
    std::string Archive(int fourth = 3, const std::string& name = "game.dat")
    {
        Bytes raw{5, 1, 2, 3};
        const Bytes first = StripedPicture(0, 12, 8, 1, {0, 0, 12, 8}, 8);
        const Bytes walk = orv::tools::BuildAnimation({
            first,
            StripedPicture(2, 12, 8, 2, {2, 1, 9, 5}, 8),
            StripedPicture(2, 12, 8, 2, {2, 1, 9, 5}, 8),
            StripedPicture(2, 12, 8, fourth, {5, 3, 12, 8}, 8),
            raw,
        });
        return Write(name, orv::tools::BuildPack({{"title.cg", first}, {"walk.ani", walk}}));
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

// A sheet's JSON saved again by other tools reads the same; a record that gives no frame
// is refused, naming it, rather than leaving the frame out.
TEST_F(PlayedBackTest, ASheetIndexIsReadAsAnyJson)
{
    const std::string archive = Archive();
    const std::filesystem::path folder = Convert(archive, "sheet", {"--animation", "sheet"});
    const std::filesystem::path index = folder / "walk_sheet.json";
    const nlohmann::json written = nlohmann::json::parse(ReadAll(index));
    nlohmann::json quoted = written;
    quoted["frames"][1]["number"] = std::to_string(quoted["frames"][1]["number"].get<int>());
    nlohmann::json negative = written;
    negative["frames"][2]["x"] = -4;
    struct Case {
        std::string name, json, refusal;
    };
    // nlohmann dumps keys sorted: "height" first.
    for (const Case& c : {Case{"indented, sorted", written.dump(4), ""}, Case{"compact, sorted", written.dump(), ""},
                          Case{"quoted number", quoted.dump(2), "record 2 of \"frames\" has no \"number\""},
                          Case{"negative x", negative.dump(2), "record 3 of \"frames\" has no \"x\""},
                          Case{"no JSON", "{\"frames\": [", "walk_sheet.json: not JSON"}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(orv::tools::WriteFileBytes(index.string(), orv::tools::BytesOf(c.json)));
        const std::string packed = (dir.path() / "packed.dat").string();
        std::filesystem::remove(packed);
        const Process::Result result = Pack({"--animation", "sheet", "-o", packed, folder.string()});
        if (!c.refusal.empty()) {
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_NE(result.err.find(c.refusal), std::string::npos) << result.err;
            continue;
        }
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, "again", {"--animation", "sheet"})), Tree(folder)),
                  std::vector<std::string>{"walk_sheet.json"});
        std::filesystem::remove_all(dir.path() / "again");
    }
}

// With --base and the same --animation, a played file is compared with the frames the
// original composes: untouched, the original comes back byte for byte; edited (here the
// file of an archive whose frame 4 differs), the animation is made anew from it.
TEST_F(PlayedBackTest, APlayedFileGoesBackOnItsBase)
{
    const std::string archive = Archive();
    const std::string other = Archive(4, "other.dat");
    for (const std::string as : {"webp", "gif", "sheet"}) {
        SCOPED_TRACE(as);
        const std::filesystem::path folder = Convert(archive, as, {"--animation", as});
        const std::string same = (dir.path() / (as + "-same.dat")).string();
        const Process::Result untouched = Pack({"--base", archive, "--animation", as, "-o", same, folder.string()});
        ASSERT_EQ(untouched.exitCode, 0) << untouched.err;
        EXPECT_EQ(ReadAll(same), ReadAll(archive));

        const std::filesystem::path edited = Convert(other, as + "-other", {"--animation", as});
        for (const auto& item : std::filesystem::directory_iterator(edited)) {
            if (item.path().filename().string().starts_with("walk"))
                std::filesystem::copy_file(item.path(), folder / item.path().filename(),
                                           std::filesystem::copy_options::overwrite_existing);
        }
        const std::string packed = (dir.path() / (as + "-edited.dat")).string();
        const Process::Result result = Pack({"--base", archive, "--animation", as, "-o", packed, folder.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.err.find("changed: walk.ani"), std::string::npos) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, as + "-again", {"--animation", as})), Tree(folder)),
                  std::vector<std::string>{});
        EXPECT_EQ(EntriesOf(ReadAll(packed))[0].bytes, EntriesOf(ReadAll(archive))[0].bytes);
    }
}

// --base compares numbered frames: a file that plays one of the base's animations is
// refused, never added beside it as a new entry.
TEST_F(PlayedBackTest, APlayedFileBesideItsBaseIsRefused)
{
    const std::string archive = Archive();
    for (const std::string as : {"webp", "gif", "sheet"}) {
        SCOPED_TRACE(as);
        const std::filesystem::path folder = Convert(archive, as, {"--animation", as});
        const std::string packed = (dir.path() / (as + ".dat")).string();
        const Process::Result result = Pack({"--base", archive, "-o", packed, folder.string()});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find("plays the base's animation walk.ani"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(packed));
    }
}

// An animation named NAME_ani (no dot; NAME_ani.ani would pass 16 bytes) goes back under its
// own name, as its numbered frames do, its raw frame NAME_ani_0005 with it.
TEST_F(PlayedBackTest, AnAnimationNamedWithoutADotGoesBack)
{
    const Bytes first = StripedPicture(0, 12, 8, 1, {0, 0, 12, 8}, 8);
    const Bytes walk = orv::tools::BuildAnimation({first, StripedPicture(2, 12, 8, 2, {2, 1, 9, 5}, 8), {5, 1, 2, 3}});
    const std::string archive = Write("long.dat", orv::tools::BuildPack({{"walkinghero_ani", walk}}));
    for (const std::string as : {"frames", "webp", "gif", "sheet"}) {
        SCOPED_TRACE(as);
        const std::filesystem::path folder = Convert(archive, as, {"--animation", as});
        ASSERT_TRUE(std::filesystem::exists(folder / "walkinghero_ani_0003"));
        const std::string packed = (dir.path() / (as + ".dat")).string();
        const Process::Result result = Pack({"--animation", as, "-o", packed, folder.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, as + "-again", {"--animation", as})), Tree(folder)),
                  std::vector<std::string>{});
    }
}
