// Output folders that cannot be made end the run with the folder error naming the
// folder; those that cannot be written, with the file-open error for the first file;
// exit code 1, and nothing written anywhere else.
#include <sys/stat.h>

#include "build_paths.h"
#include "fault_fixture.h"

namespace faults {
namespace {

using orv::tools::BytesOf;

class OutputFolderTest : public FaultTest {
protected:
    std::string Archive() const
    {
        return Input("data.dat", orv::tools::BuildPack({{"first.txt", BytesOf("1")}, {"second.txt", BytesOf("2")}}));
    }

    // error: the system's reason for the failure.
    void ExpectOpenErrorAt(const Process::Result& result, const std::string& path, int error)
    {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, OpenError(path, error));
        EXPECT_EQ(result.out, "");
    }
};

TEST_F(OutputFolderTest, AnOutputRootThatCannotBeMadeIsOneErrorNamingIt)
{
    const Bytes blocker = BytesOf("a file, not a folder");
    Input("blocker", blocker);
    const std::string archive = Archive();
    const std::string impossible = (in() / "blocker" / "sub").string();
    const auto result = Process(build_paths::kCli, {"-o", impossible, archive}, dir.path()).Wait(kRunLimit);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, CliError("フォルダを作成できません！", impossible, ENOTDIR));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadAll(in() / "blocker"), blocker);
}

// -o DIR is made only once an input writes into it.
TEST_F(OutputFolderTest, TheOutputRootIsMadeOnlyForAnInputThatWritesIntoIt)
{
    const std::string made = (dir.path() / "new" / "root").string();
    const std::string notes = Input("notes.txt", BytesOf("not an input"));
    const std::string notPack = Input("other.dat", BytesOf("no archive"));
    auto result = Process(build_paths::kCli, {"-o", made, notes, notPack}, dir.path()).Wait(kRunLimit);
    EXPECT_EQ(result.exitCode, 4) << result.err;  // nothing converted
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "new"));

    result = Process(build_paths::kCli, {"-o", made, notes, Archive()}, dir.path()).Wait(kRunLimit);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(FilesIn(std::filesystem::path(made) / "data"), (std::vector<std::string>{"first.txt", "second.txt"}));
}

TEST_F(OutputFolderTest, AFileInThePlaceOfTheOutputFolderIsLeftAlone)
{
    const Bytes occupant = BytesOf("was here first");
    ASSERT_TRUE(orv::tools::WriteFileBytes((root() / "data").string(), occupant));
    ExpectOpenErrorAt(Convert({Archive()}), Out("data", "first.txt"), ENOTDIR);
    EXPECT_EQ(ReadAll(root() / "data"), occupant);
    EXPECT_EQ(FilesIn(root()), std::vector<std::string>{"data"});
}

TEST_F(OutputFolderTest, ALinkPlantedInTheOutputFolderIsReplacedNotFollowed)
{
    const Bytes victim = BytesOf("must not change");
    const std::string target = Input("victim.txt", victim);
    std::filesystem::create_directory(root() / "data");
    std::filesystem::create_symlink(target, root() / "data" / "first.txt");
    const auto result = Convert({Archive()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_FALSE(std::filesystem::is_symlink(root() / "data" / "first.txt"));
    EXPECT_EQ(ReadAll(root() / "data" / "first.txt"), BytesOf("1"));
    EXPECT_EQ(ReadAll(target), victim);
}

TEST_F(OutputFolderTest, AnOutputFolderThatCannotBeMadeInAReadOnlyRootIsNamed)
{
    // Permissions do not stop root; a read-only mount for the program alone does.
    Limits limits;
    if (::geteuid() == 0) {
        limits.setup = ReadOnlyAt(root());
    } else {
        ASSERT_EQ(::chmod(root().c_str(), 0555), 0);
    }
    const auto result = Convert({Archive()}, limits);
    ::chmod(root().c_str(), 0755);
    if (result.exitCode == kNoNamespace) GTEST_SKIP() << "this user cannot mount a file system";
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              CliError("フォルダを作成できません！", (root() / "data").string(), ::geteuid() == 0 ? EROFS : EACCES));
    EXPECT_TRUE(FilesIn(root()).empty());
}

TEST_F(OutputFolderTest, AReadOnlyOutputFolderIsTheOpenError)
{
    std::filesystem::create_directory(root() / "data");
    Limits limits;
    if (::geteuid() == 0) {
        limits.setup = ReadOnlyAt(root() / "data");
    } else {
        ASSERT_EQ(::chmod((root() / "data").c_str(), 0555), 0);
    }
    const auto result = Convert({Archive()}, limits);
    ::chmod((root() / "data").c_str(), 0755);
    if (result.exitCode == kNoNamespace) GTEST_SKIP() << "this user cannot mount a file system";
    ExpectOpenErrorAt(result, Out("data", "first.txt"), EROFS);
    EXPECT_TRUE(FilesIn(root() / "data").empty());
}

}  // namespace
}  // namespace faults
