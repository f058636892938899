// Whatever already bears an output file's name is replaced by a new file, never written
// through: what a link points at stays as it was. An output folder that is itself a
// link, and an entry that would replace the input being read or any other input of the
// batch, are the file-open error.
#include <sys/stat.h>

#include <functional>

#include "fault_fixture.h"

namespace faults {
namespace {

namespace fs = std::filesystem;
using orv::tools::BuildPack;
using orv::tools::BytesOf;

class ReplacedOutputTest : public FaultTest {
protected:
    std::string Archive() const
    {
        return Input("data.dat", BuildPack({{"first.txt", BytesOf("1")}, {"second.txt", BytesOf("2")}}));
    }
};

struct PlantCase {
    const char* what;
    std::function<void(const fs::path& at)> plant;
};

TEST_F(ReplacedOutputTest, WhatBearsAnOutputNameIsReplacedNotWrittenThrough)
{
    const Bytes precious = BytesOf("hard-linked, must not change");
    const Bytes victim = BytesOf("linked to, must not change");
    const fs::path preciousPath = in() / "precious.txt";
    const fs::path victimPath = in() / "victim.txt";
    const std::vector<PlantCase> cases{
        {"hard link", [&](const fs::path& at) { fs::create_hard_link(preciousPath, at); }},
        {"symbolic link", [&](const fs::path& at) { fs::create_symlink(victimPath, at); }},
        {"FIFO", [](const fs::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0644), 0); }},
        {"read-only file",
         [](const fs::path& at) {
             ASSERT_TRUE(orv::tools::WriteFileBytes(at.string(), BytesOf("old")));
             ASSERT_EQ(::chmod(at.c_str(), 0444), 0);
         }},
    };
    const std::string archive = Archive();
    const fs::path first = root() / "data" / "first.txt";
    for (const PlantCase& c : cases) {
        SCOPED_TRACE(c.what);
        Input("precious.txt", precious);
        Input("victim.txt", victim);
        fs::create_directory(root() / "data");
        c.plant(first);

        const auto result = Convert({archive});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, kFinished);
        // Only a regular file is read: opening a FIFO left in place would block.
        const bool regular = fs::symlink_status(first).type() == fs::file_type::regular;
        EXPECT_TRUE(regular);
        if (regular) {
            EXPECT_EQ(fs::hard_link_count(first), 1u);
            EXPECT_EQ(ReadAll(first), BytesOf("1"));
        }
        EXPECT_EQ(ReadAll(root() / "data" / "second.txt"), BytesOf("2"));
        EXPECT_EQ(FilesIn(root() / "data"), (std::vector<std::string>{"first.txt", "second.txt"}));
        EXPECT_EQ(ReadAll(preciousPath), precious);
        EXPECT_EQ(fs::hard_link_count(preciousPath), 1u);
        EXPECT_EQ(ReadAll(victimPath), victim);
        fs::remove_all(root() / "data");
    }
}

TEST_F(ReplacedOutputTest, AnOutputFolderThatIsALinkIsTheOpenError)
{
    const fs::path victimDir = dir.path() / "victimdir";
    fs::create_directory(victimDir);
    const Bytes victim = BytesOf("in the folder linked to, must not change");
    ASSERT_TRUE(orv::tools::WriteFileBytes((victimDir / "first.txt").string(), victim));
    fs::create_directory_symlink("../victimdir", root() / "data");

    const auto result = Convert({Archive()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, OpenError(Out("data", "first.txt"), ENOTDIR));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(FilesIn(victimDir), std::vector<std::string>{"first.txt"});
    EXPECT_EQ(ReadAll(victimDir / "first.txt"), victim);
}

struct SelfCase {
    std::string entry;
    std::string link;  // another name of the input in its folder, or none
};

TEST_F(ReplacedOutputTest, AnEntryNamingTheInputInItsOwnFolderIsTheOpenError)
{
    const std::vector<SelfCase> cases{
        {"game.dat", ""},
        {"copy.dat", "copy.dat"},
    };
    const fs::path folder = root() / "game";
    const std::string input = (folder / "game.dat").string();
    for (const SelfCase& c : cases) {
        SCOPED_TRACE(c.entry);
        fs::create_directory(folder);
        const Bytes archive = BuildPack({{"ok.txt", BytesOf("ok")}, {c.entry, BytesOf("not the archive")}});
        ASSERT_TRUE(orv::tools::WriteFileBytes(input, archive));
        if (!c.link.empty()) fs::create_hard_link(input, folder / c.link);

        const auto result = Convert({input});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, OpenError(Out("game", c.entry)));
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(ReadAll(input), archive);
        if (!c.link.empty()) {
            EXPECT_EQ(ReadAll(folder / c.link), archive);
        }
        fs::remove_all(folder);
    }
}

// root/a/b.dat, an input of the batch, is where a.dat's entry b.dat would go: in either
// order, one worker or two, the user's archive is left as it was and the run ends with
// the open error naming it.
TEST_F(ReplacedOutputTest, AnEntryNamingAnotherInputOfTheBatchIsTheOpenError)
{
    const Bytes outer = BuildPack({{"ok.txt", BytesOf("ok")}, {"b.dat", BytesOf("not the user's archive")}});
    const Bytes inner = BuildPack({{"inner.txt", BytesOf("inner")}});
    const std::string a = Input("a.dat", outer);
    const fs::path b = root() / "a" / "b.dat";
    for (const bool innerFirst : {false, true}) {
        for (const char* jobs : {"1", "2"}) {
            SCOPED_TRACE(std::string(innerFirst ? "b.dat first" : "a.dat first") + ", -j " + jobs);
            fs::create_directories(b.parent_path());
            ASSERT_TRUE(orv::tools::WriteFileBytes(b.string(), inner));
            const auto result = Convert({"-j", jobs, innerFirst ? b.string() : a, innerFirst ? a : b.string()});
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(result.err, OpenError(b.string()));
            EXPECT_EQ(ReadAll(b), inner);
            fs::remove_all(root() / "a");
            fs::remove_all(root() / "b");
        }
    }
}

}  // namespace
}  // namespace faults
