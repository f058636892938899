// Animation files go back whatever their name: a name the reader cuts to 15 bytes, a
// file packed under another name than the one converted (whose settings section the
// frames were composed under), an animation that draws nothing.
#include <gtest/gtest.h>

#include "orvpack_fixture.h"
#include "tools/ani_writer.h"

using orv::tools::Bytes;

namespace {

class AnimationFileTest : public OrvpackTest {
protected:
    // Three frames of 12 x 8 and a raw frame (type 5) second.
    static Bytes Walk()
    {
        return orv::tools::BuildAnimation({StripedPicture(0, 12, 8, 1, {0, 0, 12, 8}, 8),
                                           {5, 1, 2, 3},
                                           StripedPicture(2, 12, 8, 2, {2, 1, 9, 5}, 8),
                                           StripedPicture(2, 12, 8, 3, {5, 3, 12, 8}, 8)});
    }

    std::string Into(const std::string& sub, const std::string& name) const
    {
        std::filesystem::create_directories(dir.path() / sub);
        return (dir.path() / sub / name).string();
    }
};

TEST_F(AnimationFileTest, ANameTheReaderCutsGoesBackWithAndWithoutItsBase)
{
    // 16 bytes (cut to "walkingheroo.an") and 25 (cut before its extension).
    for (const std::string name : {"walkingheroo.ani", "averyveryverylongname.ani"}) {
        SCOPED_TRACE(name);
        const std::string stem = name.substr(0, name.size() - 4);
        const std::string original = Write(name, Walk());
        const std::filesystem::path folder = Convert(original, stem + "-out");
        ASSERT_EQ(Tree(folder).size(), 4u);

        const std::string same = Into(stem + "-same", name);
        const Process::Result based = Pack({"--base", original, "-o", same, folder.string()});
        ASSERT_EQ(based.exitCode, 0) << based.err;
        EXPECT_EQ(ReadAll(same), Walk());

        const std::string alone = Into(stem + "-alone", name);
        const Process::Result result = Pack({"-o", alone, folder.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(alone, stem + "-again")), Tree(folder)), std::vector<std::string>{});
    }
}

// The frames were composed under the section of the file converted, walk.ani: packed into
// walk_new.ani and renamed back, the file shows them again. Frame 3, drawn on a cleared
// canvas, shows much of what frame 2 shows.
TEST_F(AnimationFileTest, SettingsFollowTheAnimationTheFolderCameFromNotTheOutputName)
{
    const Bytes corner = StripedPicture(2, 12, 8, 1, {0, 0, 6, 4}, 8);
    const Bytes walk = orv::tools::BuildAnimation({corner, StripedPicture(2, 12, 8, 2, {4, 2, 10, 6}, 8), corner});
    const std::string settings = Write("walk.ini", orv::tools::BytesOf("[walk.ani]\np3=-1\n"));
    const std::filesystem::path folder = Convert(Write("walk.ani", walk), "out", {"-s", settings});
    const std::string packed = Into("new", "walk_new.ani");
    const Process::Result result = Pack({"-s", settings, "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string renamed = Into("renamed", "walk.ani");
    std::filesystem::copy_file(packed, renamed);
    EXPECT_EQ(Differing(Tree(Convert(renamed, "again", {"-s", settings})), Tree(folder)), std::vector<std::string>{});
}

// Conversion writes no file for it; orvpack makes an animation file that draws nothing.
TEST_F(AnimationFileTest, AnEmptyFolderIsAnAnimationThatDrawsNothing)
{
    std::filesystem::create_directory(dir.path() / "nothing");
    const std::string packed = Into("packed", "nothing.ani");
    const Process::Result result = Pack({"-o", packed, (dir.path() / "nothing").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("the animation draws nothing"), std::string::npos) << result.err;
    const std::filesystem::path again = Convert(packed, "again");
    EXPECT_TRUE(!std::filesystem::exists(again) || std::filesystem::is_empty(again));
}

}  // namespace
