// Output files are written aside and put in place whole: the final name holds its old
// content until Commit, an existing name is replaced (never written through), and what
// is not committed leaves nothing behind. Both ways of holding the file aside.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "engine/output/output_file.h"
#include "engine/output/output_folder.h"
#include "tools/pack_writer.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using orv::OutputFile;
using orv::OutputFolder;
using orv::tools::BytesOf;
using orv::tools::WriteFileBytes;

class OutputFileTest : public ::testing::TestWithParam<OutputFile::Temporary> {
protected:
    OutputFileTest()
    {
        fs::create_directory(folderPath());
        EXPECT_TRUE(folder.Open(folderPath().string()));
    }

    fs::path folderPath() const { return dir.path() / "out"; }
    std::string PathOf(const std::string& name) const { return (folderPath() / name).string(); }

    OutputFile Begin(const std::string& name) const
    {
        return OutputFile(folder.descriptor(), name, PathOf(name), GetParam());
    }

    TempDir dir;
    OutputFolder folder;
};

INSTANTIATE_TEST_SUITE_P(Temporaries, OutputFileTest,
                         ::testing::Values(OutputFile::Temporary::Unnamed, OutputFile::Temporary::Named),
                         [](const auto& param) {
                             return param.param == OutputFile::Temporary::Unnamed ? "Unnamed" : "Named";
                         });

TEST_P(OutputFileTest, TheNameKeepsItsOldContentUntilTheWholeFileIsPutInPlace)
{
    ASSERT_TRUE(WriteFileBytes(PathOf("a.bin"), BytesOf("a much longer earlier content")));
    OutputFile out = Begin("a.bin");
    ASSERT_TRUE(out.created());
    ASSERT_TRUE(out.Write("new", 3));
    EXPECT_EQ(ReadAll(PathOf("a.bin")), BytesOf("a much longer earlier content"));
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadAll(PathOf("a.bin")), BytesOf("new"));
    EXPECT_EQ(FilesIn(folderPath()), std::vector<std::string>{"a.bin"});
}

TEST_P(OutputFileTest, LinksAtTheNameAreReplacedAndWhatTheyReachKeepsItsContent)
{
    const std::string outside = (dir.path() / "outside.txt").string();
    ASSERT_TRUE(WriteFileBytes(outside, BytesOf("keep")));
    fs::create_hard_link(outside, folderPath() / "hard.txt");
    fs::create_symlink(outside, folderPath() / "soft.txt");
    ASSERT_EQ(::mkfifo(PathOf("fifo.txt").c_str(), 0644), 0);

    for (const char* name : {"hard.txt", "soft.txt", "fifo.txt"}) {
        SCOPED_TRACE(name);
        OutputFile out = Begin(name);
        ASSERT_TRUE(out.created());
        ASSERT_TRUE(out.Write("new", 3));
        ASSERT_TRUE(out.Commit());
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(PathOf(name))));
        EXPECT_EQ(ReadAll(PathOf(name)), BytesOf("new"));
    }
    EXPECT_EQ(ReadAll(outside), BytesOf("keep"));
}

TEST_P(OutputFileTest, AFileNotPutInPlaceLeavesNothingBehind)
{
    ASSERT_TRUE(WriteFileBytes(PathOf("old.bin"), BytesOf("old")));
    {
        OutputFile out = Begin("old.bin");
        ASSERT_TRUE(out.Write("half", 4));
        OutputFile fresh = Begin("fresh.bin");
        ASSERT_TRUE(fresh.Write("half", 4));
    }
    EXPECT_EQ(FilesIn(folderPath()), std::vector<std::string>{"old.bin"});
    EXPECT_EQ(ReadAll(PathOf("old.bin")), BytesOf("old"));
}

TEST_P(OutputFileTest, AFolderAtTheNameIsRefused)
{
    fs::create_directory(folderPath() / "taken");
    const OutputFile out = Begin("taken");
    EXPECT_FALSE(out.created());
    EXPECT_EQ(out.error(), EISDIR);
    EXPECT_TRUE(fs::is_directory(folderPath() / "taken"));
}

TEST(OutputFolder, MakingItRemovesWhatKilledRunsLeftButNotWhatALiveOneWrites)
{
    TempDir dir;
    const fs::path folderPath = dir.path() / "data";
    fs::create_directory(folderPath);
    const std::string leftover = ".orvconv-0123456789abcdef.tmp";
    for (const std::string& name : {leftover, std::string(".orvconv-notes.txt"), std::string("keep.tmp")})
        ASSERT_TRUE(WriteFileBytes((folderPath / name).string(), BytesOf("x")));

    // A run still writing holds its file under a temporary name, locked.
    OutputFolder writer;
    ASSERT_TRUE(writer.Open(folderPath.string()));
    OutputFile live(writer.descriptor(), "live.bin", (folderPath / "live.bin").string(), OutputFile::Temporary::Named);
    ASSERT_TRUE(live.created());
    ASSERT_EQ(FilesIn(folderPath).size(), 4u);

    OutputFolder folder;
    ASSERT_TRUE(folder.Make(dir.slashed(), "data"));
    std::vector<std::string> left = FilesIn(folderPath);
    EXPECT_EQ(left.size(), 3u);
    EXPECT_EQ(std::count(left.begin(), left.end(), leftover), 0);
    EXPECT_EQ(std::count(left.begin(), left.end(), "keep.tmp"), 1);
    EXPECT_EQ(std::count(left.begin(), left.end(), ".orvconv-notes.txt"), 1);

    ASSERT_TRUE(live.Write("live", 4));
    ASSERT_TRUE(live.Commit());
    EXPECT_EQ(ReadAll(folderPath / "live.bin"), BytesOf("live"));
}

// Another run into the same folder cleans up while this one creates and puts files in
// place, over and over: every file of this run must reach its name.
TEST(OutputFolder, AnotherRunsCleanUpNeverTakesALiveTemporaryForALeftover)
{
    TempDir dir;
    const fs::path folderPath = dir.path() / "data";
    fs::create_directory(folderPath);
    OutputFolder writer;
    ASSERT_TRUE(writer.Open(folderPath.string()));
    std::atomic<bool> done{false};
    std::atomic<int> cleanUps{0};
    std::jthread otherRun([&] {
        OutputFolder folder;
        while (!done.load()) {
            folder.Make(dir.slashed(), "data");
            ++cleanUps;
        }
    });
    int lost = 0;
    constexpr int kFiles = 400;
    for (int k = 0; k < kFiles; ++k) {
        const auto temporary = k % 2 == 0 ? OutputFile::Temporary::Named : OutputFile::Temporary::Unnamed;
        OutputFile out(writer.descriptor(), "entry.bin", (folderPath / "entry.bin").string(), temporary);
        if (!out.created() || !out.Write("data", 4) || !out.Commit()) ++lost;
    }
    done = true;
    otherRun.join();
    EXPECT_EQ(lost, 0) << "of " << kFiles << " files, with " << cleanUps.load() << " clean-ups";
    EXPECT_EQ(FilesIn(folderPath), std::vector<std::string>{"entry.bin"});
}

TEST(OutputFolder, ALinkOrAFileInThePlaceOfTheFolderIsRefused)
{
    TempDir dir;
    fs::create_directory(dir.path() / "elsewhere");
    fs::create_directory_symlink(dir.path() / "elsewhere", dir.path() / "linked");
    ASSERT_TRUE(WriteFileBytes((dir.path() / "file").string(), BytesOf("x")));

    OutputFolder folder;
    EXPECT_FALSE(folder.Make(dir.slashed(), "linked"));
    EXPECT_FALSE(folder.Make(dir.slashed(), "file"));
    EXPECT_TRUE(folder.Make(dir.slashed(), "made"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "made"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "elsewhere"));
}

}  // namespace
