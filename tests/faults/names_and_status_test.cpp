// Names a terminal or a file system would take badly, and the exit status of runs that
// went only partly well: control bytes in entry names, odd input names, an input that
// cannot be opened, a stdout that cannot be written, usage errors, a file system out
// of inodes.
#include <fstream>

#include "build_paths.h"
#include "tools/ani_writer.h"
#include "bmp_header.h"
#include "fault_fixture.h"
#include "tools/sound_writer.h"

namespace faults {
namespace {

namespace fs = std::filesystem;
using orv::tools::BuildPack;
using orv::tools::BytesOf;
using orv::tools::PackItem;

// The --list line of each item of BuildPack(items), shown under the given names.
std::string ListingOf(const std::vector<PackItem>& items, const std::vector<std::string>& shown)
{
    std::string listing;
    std::size_t offset = 6 + 24 * items.size();
    for (std::size_t i = 0; i < items.size(); ++i) {
        listing += std::to_string(i) + "\t" + shown[i] + "\t" + std::to_string(offset) + "\t"
            + std::to_string(items[i].bytes.size()) + "\tother\n";
        offset += items[i].bytes.size();
    }
    return listing;
}

struct ControlName {
    std::string stored;
    std::string shown;
};

TEST_F(FaultTest, ControlBytesInEntryNamesAreEscapedInListingsAndFileNames)
{
    const std::vector<ControlName> names{
        {"a\nb.txt", "a%0Ab.txt"},
        {"tab\there.txt", "tab%09here.txt"},
        {"\x1b[2J.txt", "%1B[2J.txt"},
        {"del\x7f.txt", "del%7F.txt"},
    };
    std::vector<PackItem> items;
    std::vector<std::string> shown;
    for (const ControlName& name : names) {
        items.push_back({name.stored, BytesOf("content of " + name.shown)});
        shown.push_back(name.shown);
    }
    const std::string input = Input("names.dat", BuildPack(items));

    const auto list = Convert({"--list", input});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, ListingOf(items, shown));
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 4);
    for (const char c : list.out) {
        const auto byte = static_cast<unsigned char>(c);
        if (c != '\t' && c != '\n') {
            EXPECT_FALSE(byte < 0x20 || byte == 0x7F) << "byte " << int{byte};
        }
    }
    EXPECT_FALSE(fs::exists(root() / "names"));

    const auto result = Convert({input});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, kFinished);
    std::vector<std::string> sorted = shown;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(FilesIn(root() / "names"), sorted);
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(ReadAll(root() / "names" / shown[i]), items[i].bytes) << shown[i];
}

// Entries whose files take one name: the later file stays, and stderr says which
// entry's file it replaced, in entry order.
TEST_F(FaultTest, EntriesWritingOneNameAreToldAndTheLaterWins)
{
    const Bytes rawBmp = BytesOf("raw bytes named a.bmp");
    const Bytes rawWav = BytesOf("raw bytes named x.wav");
    const std::vector<PackItem> items{
        {"a.cg", OnePixelPicture()},
        {"a.bmp", rawBmp},
        {"x.pcm", orv::tools::BuildSoundEntry(orv::kSoundMono22050, {1, 2})},
        {"x.wav", rawWav},
        {"walk.ani", orv::tools::BuildAnimation({OnePixelPicture(), OnePixelPicture()})},
        {"walk_0002.cg", OnePixelPicture()},
        {"once.txt", BytesOf("alone")},
    };
    const auto result = Convert({Input("clash.dat", BuildPack(items))});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, kFinished);
    EXPECT_EQ(result.err,
              "orvconv-cli: " + Out("clash", "a.bmp")
                  + ": the file of entry 0 (a.cg) was replaced by that of entry 1 (a.bmp)\n" + "orvconv-cli: "
                  + Out("clash", "x.wav") + ": the file of entry 2 (x.pcm) was replaced by that of entry 3 (x.wav)\n"
                  + "orvconv-cli: " + Out("clash", "walk_0002.bmp")
                  + ": the file of entry 4 (walk.ani) frame 2 was replaced by that of entry 5 (walk_0002.cg)\n");
    EXPECT_EQ(ReadAll(root() / "clash" / "a.bmp"), rawBmp);
    EXPECT_EQ(ReadAll(root() / "clash" / "x.wav"), rawWav);
    EXPECT_EQ(FilesIn(root() / "clash"),
              (std::vector<std::string>{"a.bmp", "once.txt", "walk_0001.bmp", "walk_0002.bmp", "x.wav"}));
}

class ExitStatusTest : public FaultTest {
protected:
    const std::vector<PackItem> items{{"one.txt", BytesOf("1")}, {"two.txt", BytesOf("22")}};

    std::string Good() const { return Input("good.dat", BuildPack(items)); }
    std::string Missing() const { return (in() / "missing.dat").string(); }

    void ExpectGoodConverted() const
    {
        EXPECT_EQ(FilesIn(root() / "good"), (std::vector<std::string>{"one.txt", "two.txt"}));
        for (const PackItem& item : items) EXPECT_EQ(ReadAll(root() / "good" / item.name), item.bytes) << item.name;
    }
};

TEST_F(ExitStatusTest, AnInputThatCannotBeOpenedAmongOthersGivesStatus3)
{
    const std::string good = Good();
    const auto result = Convert({Missing(), good});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, NotOpenedLine(Missing(), ENOENT));
    EXPECT_EQ(result.out, kFinished);
    ExpectGoodConverted();

    const auto list = Convert({"--list", Missing(), good});
    EXPECT_EQ(list.exitCode, 3);
    EXPECT_EQ(list.err, NotOpenedLine(Missing(), ENOENT));
    // Two inputs named: the one listed under its heading.
    EXPECT_EQ(list.out, "==> " + good + " <==\n" + ListingOf(items, {"one.txt", "two.txt"}));
}

TEST_F(ExitStatusTest, AStdoutThatCannotBeWrittenIsAFailure)
{
    const std::string good = Good();
    Limits full;
    full.setup = StdoutOnFullDevice();

    const auto list = Convert({"--list", good}, full);
    EXPECT_EQ(list.exitCode, 1) << list.err;
    EXPECT_FALSE(fs::exists(root() / "good"));

    const auto result = Convert({good}, full);
    EXPECT_EQ(result.exitCode, 1) << result.err;
    ExpectGoodConverted();
}

TEST_F(ExitStatusTest, UsageErrorsGiveStatus2)
{
    // Run without the fixture's -o, so that the empty one is the only one.
    const std::string absent = (in() / "absent.dat").string();
    const auto emptyRoot = Process(build_paths::kCli, {"-o", "", absent}, dir.path()).Wait(kRunLimit);
    EXPECT_EQ(emptyRoot.exitCode, 2) << emptyRoot.err;
    EXPECT_EQ(emptyRoot.out, "");

    const auto noWorkers = Convert({"-j", "0", Good()});
    EXPECT_EQ(noWorkers.exitCode, 2);
    EXPECT_NE(noWorkers.err.find("-j needs a number of at least 1"), std::string::npos) << noWorkers.err;
    EXPECT_FALSE(fs::exists(root() / "good"));
}

struct OddInputName {
    std::string file;
    std::string folder;
    std::string frame;
};

TEST_F(FaultTest, InputNamesOutsideCp932OrWithBackslashesOrControlBytesGiveUsableNames)
{
    const std::vector<OddInputName> cases{
        {"¥.ani", "¥", "__0001.bmp"},
        {"a\\b.ani", "a\\b", "a_b_0001.bmp"},
        {"a\nb.ani", "a%0Ab", "a%0Ab_0001.bmp"},
        {"%41.ani", "%2541", "%2541_0001.bmp"},
    };
    const Bytes animation = orv::tools::BuildAnimation({OnePixelPicture()});
    for (const OddInputName& c : cases) {
        SCOPED_TRACE(c.file);
        const auto result = Convert({Input(c.file, animation)});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, kFinished);
        EXPECT_EQ(FilesIn(root()), std::vector<std::string>{c.folder});
        EXPECT_EQ(FilesIn(root() / c.folder), std::vector<std::string>{c.frame});
        const Bytes bmp = ReadAll(root() / c.folder / c.frame);
        const BmpHeader header = ParseBmpHeader(bmp);
        EXPECT_EQ(header.signature, 0x4D42);  // "BM"
        EXPECT_EQ(header.width, 1);
        EXPECT_EQ(header.height, 1);
        EXPECT_EQ(bmp.size(), 54u + 4u);  // one pixel, its row padded to 4 bytes
        fs::remove_all(root() / c.folder);
    }
}

TEST_F(FaultTest, AFileSystemOutOfInodesIsTheWriteErrorForTheFirstFileItRefuses)
{
    // Five inodes: the file system's root, the output folder, then three files.
    constexpr std::size_t kInodes = 5;
    const std::vector<std::string> names{"first.txt",  "second.txt", "third.txt",
                                         "fourth.txt", "fifth.txt",  "sixth.txt"};
    std::vector<PackItem> items;
    for (const std::string& name : names) items.push_back({name, BytesOf(name)});
    const std::string input = Input("inodes.dat", BuildPack(items));

    const auto result = Convert({input}, {{}, FewInodesAt(root(), kInodes)});
    if (result.exitCode == kNoNamespace) GTEST_SKIP() << "this user cannot mount a file system";
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, WriteError(Out("inodes", names[kInodes - 2]), ENOSPC));
    EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace faults
