#include <gtest/gtest.h>

#include <filesystem>

#include "cli/output_conflicts.h"
#include "temp_dir.h"

using orv::cli::EarlierConflicts;
using Waits = std::vector<std::vector<std::size_t>>;

class OutputConflictsTest : public ::testing::Test {
protected:
    OutputConflictsTest() { std::filesystem::create_directories(root()); }

    std::filesystem::path root() const { return dir.path() / "root"; }
    std::string exeDir() const { return root().string() + "/"; }
    std::string In(const std::string& relative) const { return (dir.path() / relative).string(); }

    TempDir dir;
};

TEST_F(OutputConflictsTest, InputsOfOneOutputFolderWaitForTheOneBefore)
{
    // data01.dat, DATA01.DAT and data01.ani all write into data01/; other.dat does not.
    const Waits waits
        = EarlierConflicts({In("a/data01.dat"), In("other.dat"), In("b/DATA01.DAT"), In("data01.ani")}, exeDir());
    EXPECT_EQ(waits, (Waits{{}, {}, {0}, {2}}));
}

TEST_F(OutputConflictsTest, StemsThatNameNoFolderUseTheWholeName)
{
    // ".dat" writes into .dat/, "..dat" into ..dat/: no two of these share a folder.
    const Waits waits = EarlierConflicts({In(".dat"), In("..dat"), In("a/.dat")}, exeDir());
    EXPECT_EQ(waits, (Waits{{}, {}, {0}}));
}

TEST_F(OutputConflictsTest, OtherExtensionsTakePartInNothing)
{
    const Waits waits = EarlierConflicts({In("data01.txt"), In("data01.dat"), In("data01")}, exeDir());
    EXPECT_EQ(waits, (Waits{{}, {}, {}}));
}

TEST_F(OutputConflictsTest, AnInputInAnEarlierOutputFolderWaitsForIt)
{
    // data01.dat may write root/data01/inner.dat, which the second input reads.
    const Waits waits = EarlierConflicts({In("data01.dat"), (root() / "data01" / "inner.dat").string()}, exeDir());
    EXPECT_EQ(waits, (Waits{{}, {0}}));
}

TEST_F(OutputConflictsTest, AnOutputFolderHoldingEarlierInputsWaitsForThemAll)
{
    // Both inputs in root/pack/ are read before pack.dat may overwrite them; a later
    // writer of pack/ only waits for pack.dat, which waited for them.
    const std::string first = (root() / "pack" / "one.dat").string();
    const std::string second = (root() / "pack" / "two.ani").string();
    const Waits waits = EarlierConflicts({first, second, In("pack.dat"), In("x/PACK.ani")}, exeDir());
    EXPECT_EQ(waits, (Waits{{}, {}, {0, 1}, {2}}));
}

TEST_F(OutputConflictsTest, ASymbolicLinkToTheOutputRootNamesTheSameFolders)
{
    std::filesystem::create_directory_symlink(root(), dir.path() / "link");
    const std::string viaLink = (dir.path() / "link" / "data01" / "x.dat").string();
    const Waits waits = EarlierConflicts({In("data01.dat"), viaLink}, exeDir());
    EXPECT_EQ(waits, (Waits{{}, {0}}));
}
