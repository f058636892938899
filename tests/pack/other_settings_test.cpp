// A folder converted without the settings orvpack is given: its untouched animations stay
// as the original has them, with one line saying why, and an edit among such frames is
// refused rather than composed the wrong way. Nothing else explains a frame that differs.
#include <gtest/gtest.h>

#include "bmp_header.h"
#include "orvpack_fixture.h"
#include "tools/ani_writer.h"

using orv::tools::Bytes;

namespace {

// A 12 x 8 picture of eight colours of its own.
Bytes Frame(std::uint8_t type, int seed, std::array<std::uint16_t, 4> rect)
{
    return StripedPicture(type, 12, 8, seed, rect, 8);
}

// Gives the first pixel of a 24-bit BMP the colour of the first pixel that differs from it.
void Recolour(const std::filesystem::path& file)
{
    Bytes bmp = ReadAll(file);
    const std::size_t first = ParseBmpHeader(bmp).dataOffset;
    for (std::size_t at = first + 3; at + 3 <= bmp.size(); at += 3) {
        if (!std::equal(bmp.begin() + static_cast<std::ptrdiff_t>(at),
                        bmp.begin() + static_cast<std::ptrdiff_t>(at + 3),
                        bmp.begin() + static_cast<std::ptrdiff_t>(first))) {
            std::copy_n(bmp.begin() + static_cast<std::ptrdiff_t>(at), 3,
                        bmp.begin() + static_cast<std::ptrdiff_t>(first));
            break;
        }
    }
    ASSERT_TRUE(orv::tools::WriteFileBytes(file.string(), bmp));
}

class OtherSettingsTest : public OrvpackTest {
protected:
    void SetUp() override
    {
        const Bytes walk = orv::tools::BuildAnimation({
            Frame(0, 1, {0, 0, 12, 8}),
            Frame(2, 2, {2, 1, 9, 5}),
            Frame(2, 3, {5, 3, 12, 8}),
            Frame(2, 4, {0, 4, 6, 8}),
            Frame(2, 5, {3, 2, 7, 6}),
            Frame(2, 7, {1, 4, 10, 7}),
        });
        original = orv::tools::BuildPack({{"title.cg", Frame(0, 6, {0, 0, 12, 8})}, {"walk.ani", walk}});
        archive = Write("game.dat", original);
        // A frame left out (the next one drawn over the frame before it), a base frame and a
        // cleared canvas: each changes what frames show.
        settings = Write("walk.ini", orv::tools::BytesOf("[walk.ani]\np3=3\np5=2\np6=-1\n"));
    }

    Process::Result PackInto(const std::string& out, const std::filesystem::path& folder,
                             std::vector<std::string> args = {}) const
    {
        args.insert(args.end(), {"--base", archive, "-o", (dir.path() / out).string(), folder.string()});
        return Pack(args);
    }

    Bytes original;
    std::string archive, settings;
};

// Converted without settings and packed with them, the animation is kept; converted with
// settings and packed without, nothing tells the folder's frames from edits: they go back
// as the folder shows them.
TEST_F(OtherSettingsTest, AnUntouchedAnimationIsKeptOnlyWhereNoSettingsExplainIt)
{
    {
        const std::filesystem::path folder = Convert(archive, "outplain");
        const Process::Result untouched = PackInto("plain-same.dat", folder, {"-s", settings});
        ASSERT_EQ(untouched.exitCode, 0) << untouched.err;
        EXPECT_EQ(ReadAll(dir.path() / "plain-same.dat"), original);
        EXPECT_NE(untouched.err.find("kept: walk.ani as the original has it: its frames differ from it with " + settings
                                     + " but match it without settings"),
                  std::string::npos)
            << untouched.err;

        // Another entry edited: the archive is written anew, the animation still as it was.
        Recolour(folder / "title.bmp");
        const Process::Result edited = PackInto("plain-title.dat", folder, {"-s", settings});
        ASSERT_EQ(edited.exitCode, 0) << edited.err;
        const std::vector<TableEntry> entries = EntriesOf(ReadAll(dir.path() / "plain-title.dat"));
        const std::vector<TableEntry> before = EntriesOf(original);
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_NE(entries[0].bytes, before[0].bytes);
        EXPECT_EQ(entries[1].bytes, before[1].bytes);
        EXPECT_NE(edited.err.find("kept: walk.ani"), std::string::npos) << edited.err;
    }
    const std::filesystem::path folder = Convert(archive, "outset", {"-s", settings});
    const Process::Result packed = PackInto("set.dat", folder);
    ASSERT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_NE(packed.err.find("changed: walk.ani"), std::string::npos) << packed.err;
    // Frame 3, which the settings left out, the folder lacks: it comes from the original.
    EXPECT_EQ(Differing(Tree(Convert((dir.path() / "set.dat").string(), "again")), Tree(folder)),
              std::vector<std::string>{"walk_0003.bmp"});
}

TEST_F(OtherSettingsTest, AnEditAmongFramesOfNoSettingsIsRefused)
{
    const std::filesystem::path folder = Convert(archive, "out");
    Recolour(folder / "walk_0004.bmp");
    const Process::Result result = PackInto("edited.dat", folder, {"-s", settings});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("walk_0004.bmp is edited, but other frames of walk.ani differ from the original with "
                              + settings + " and match it without settings"),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "edited.dat"));

    // Without settings, as it was converted, the edit goes back.
    const Process::Result right = PackInto("right.dat", folder);
    ASSERT_EQ(right.exitCode, 0) << right.err;
    EXPECT_EQ(Differing(Tree(Convert((dir.path() / "right.dat").string(), "again")), Tree(folder)),
              std::vector<std::string>{});
}

// A frame edited into what some settings would compose from the original (frame 3 drawn
// on a cleared canvas) is an edit all the same when the folder's settings explain nothing.
TEST_F(OtherSettingsTest, AFrameEditedIntoAnotherCompositionOfTheOriginalGoesBack)
{
    const std::filesystem::path folder = Convert(archive, "out");
    const std::string cleared = Write("cleared.ini", orv::tools::BytesOf("[walk.ani]\np3=-1\n"));
    const std::filesystem::path other = Convert(archive, "other", {"-s", cleared});
    ASSERT_NE(ReadAll(other / "walk_0003.bmp"), ReadAll(folder / "walk_0003.bmp"));
    std::filesystem::copy_file(other / "walk_0003.bmp", folder / "walk_0003.bmp",
                               std::filesystem::copy_options::overwrite_existing);
    const Process::Result result = PackInto("edited.dat", folder);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("changed: walk.ani"), std::string::npos) << result.err;
    EXPECT_EQ(Differing(Tree(Convert((dir.path() / "edited.dat").string(), "again")), Tree(folder)),
              std::vector<std::string>{});
}

}  // namespace
