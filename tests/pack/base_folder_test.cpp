// What a folder packed on its base may lack or hold besides the converted files: a raw
// entry's file deleted beside a picture of its name, entries removed on purpose, files
// file managers leave; and where the archive goes.
#include <gtest/gtest.h>

#include "orvpack_fixture.h"

using orv::tools::Bytes;

namespace {

class BaseFolderTest : public OrvpackTest {
protected:
    void SetUp() override
    {
        // face.cg is written as face.png with -f png, and the raw entry face.bmp as itself;
        // most pictures of the folder are PNG files.
        original = orv::tools::BuildPack({{"back.cg", StripedPicture(0, 6, 4, 2, {0, 0, 6, 4}, 5)},
                                          {"face.cg", StripedPicture(0, 6, 4, 1, {0, 0, 6, 4}, 5)},
                                          {"face.bmp", orv::tools::BytesOf("not a picture")},
                                          {"note.txt", orv::tools::BytesOf("hello")}});
        archive = Write("game.dat", original);
        folder = Convert(archive, "out", {"-f", "png"});
        ASSERT_TRUE(std::filesystem::exists(folder / "face.png"));
        ASSERT_TRUE(std::filesystem::exists(folder / "face.bmp"));
    }

    Bytes original;
    std::string archive;
    std::filesystem::path folder;
};

TEST_F(BaseFolderTest, ADeletedRawFileKeepsItsEntryThoughAPictureBearsItsStem)
{
    std::filesystem::remove(folder / "face.bmp");
    const std::string packed = (dir.path() / "packed.dat").string();
    const Process::Result result = Pack({"--base", archive, "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadAll(packed), original);
}

TEST_F(BaseFolderTest, AsManyBmpAsPngFilesAreToldApartByTheBasesPictures)
{
    // Without back.cg the folder holds one .bmp and one .png: the raw face.bmp and the
    // picture face.png, which an edit then changes.
    const Bytes two = orv::tools::BuildPack(
        {{"face.cg", StripedPicture(0, 6, 4, 1, {0, 0, 6, 4}, 5)}, {"face.bmp", orv::tools::BytesOf("not a picture")}});
    const std::filesystem::path tie = Convert(Write("two.dat", two), "tie", {"-f", "png"});
    const std::string packed = (dir.path() / "tie.dat").string();
    const Process::Result same = Pack({"--base", (dir.path() / "two.dat").string(), "-o", packed, tie.string()});
    ASSERT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(ReadAll(packed), two);

    std::filesystem::copy_file(folder / "back.png", tie / "face.png",
                               std::filesystem::copy_options::overwrite_existing);
    const std::string edited = (dir.path() / "edited.dat").string();
    const Process::Result remade = Pack({"--base", (dir.path() / "two.dat").string(), "-o", edited, tie.string()});
    ASSERT_EQ(remade.exitCode, 0) << remade.err;
    const std::vector<TableEntry> entries = EntriesOf(ReadAll(edited));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "face.cg");
    EXPECT_NE(entries[0].bytes, EntriesOf(two)[0].bytes);
    EXPECT_EQ(entries[1].bytes, EntriesOf(two)[1].bytes);

    // A picture there in both formats, as many of each: which one is the picture cannot be told.
    const std::string one = Write("one.dat", orv::tools::BuildPack({{"face.cg", EntriesOf(two)[0].bytes}}));
    const std::filesystem::path both = Convert(one, "both", {"-f", "png"});
    ASSERT_EQ(Convert(one, "both", {"-f", "bmp"}), both);
    const Process::Result refused = Pack({"--base", one, "-o", (dir.path() / "x.dat").string(), both.string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("face.bmp and its .png"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.dat"));
}

TEST_F(BaseFolderTest, RemovedEntriesAreLeftOutAndOthersKeptByteForByte)
{
    const std::string packed = (dir.path() / "packed.dat").string();
    const Process::Result result
        = Pack({"--base", archive, "--remove", "face.cg", "--remove", "note.txt", "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<TableEntry> entries = EntriesOf(ReadAll(packed));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].name, "face.bmp");
    EXPECT_EQ(entries[1].bytes, EntriesOf(original)[2].bytes);
    EXPECT_NE(result.err.find("removed: face.cg"), std::string::npos) << result.err;

    const Process::Result missing
        = Pack({"--base", archive, "--remove", "gone.txt", "-o", (dir.path() / "x.dat").string(), folder.string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("holds no entry of that name"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.dat"));
}

TEST_F(BaseFolderTest, FilesLeftByFileManagersAndEditorsAreSkippedWithANote)
{
    for (const std::string name : {".DS_Store", "desktop.ini", "note.txt~", "._face.png"})
        Write("out/game/" + name, orv::tools::BytesOf("left"));
    const std::string packed = (dir.path() / "packed.dat").string();
    const Process::Result result = Pack({"--base", archive, "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadAll(packed), original);
    EXPECT_NE(result.err.find("skipped: " + (folder / "desktop.ini").string()), std::string::npos) << result.err;
}

TEST_F(BaseFolderTest, OutputFoldersAreMadeAndRemoveNeedsABase)
{
    const std::filesystem::path deep = dir.path() / "new" / "deeper" / "packed.dat";
    const Process::Result made = Pack({"--base", archive, "-o", deep.string(), folder.string()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(ReadAll(deep), original);

    const Process::Result removeAlone = Pack({"--remove", "face.cg", folder.string()});
    EXPECT_EQ(removeAlone.exitCode, 2) << removeAlone.err;
}

}  // namespace
