// Several files at once (-j N): the same files as one at a time, messages in
// command-line order, Ctrl-C and fatal errors.
#include <gtest/gtest.h>

#include <csignal>
#include <chrono>
#include <map>
#include <random>
#include <thread>

#include "tools/ani_writer.h"
#include "engine/read/archive.h"
#include "tools/cg_encoder.h"
#include "cli_fixture.h"
#include "tools/sound_writer.h"

using orv::tools::BuildPack;
using orv::tools::Bytes;
using orv::tools::BytesOf;
using orv::tools::PackItem;
namespace fs = std::filesystem;

namespace {

using Tree = FileTree;

// The names of the folders directly inside folder, sorted.
std::vector<std::string> FoldersIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) {
        if (item.is_directory()) names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A picture of bands and noise whose colours and shapes follow seed.
orv::tools::CgPicture Scene(unsigned seed, std::uint16_t width, std::uint16_t height)
{
    std::mt19937 random(seed);
    orv::tools::CgPicture picture;
    picture.width = width;
    picture.height = height;
    for (std::uint8_t& value : picture.palette) value = static_cast<std::uint8_t>(random());
    picture.pixels.resize(std::size_t{width} * height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::size_t y = i / width;
        picture.pixels[i] = static_cast<std::uint8_t>(random() % 4 == 0 ? random() % 128 : y * 7 % 128);
    }
    return picture;
}

Bytes Picture(unsigned seed, std::uint16_t width = 24, std::uint16_t height = 16)
{
    return orv::tools::EncodeCg(Scene(seed, width, height));
}

// Three frames: a whole picture, a rectangle over it, then a larger canvas on which
// an empty rectangle draws nothing (it shows what the canvas holds).
Bytes Animation(unsigned seed)
{
    const orv::tools::CgPicture first = Scene(seed, 24, 16);
    orv::tools::CgPicture second = Scene(seed + 1, 24, 16);
    second.type = 2;
    second.left = 4;
    second.top = 2;
    second.right = 12;
    second.bottom = 10;
    orv::tools::CgPicture third = Scene(seed + 2, 40, 30);
    third.type = 2;
    third.left = third.right = third.top = third.bottom = 0;
    return orv::tools::BuildAnimation({orv::tools::EncodeCg(first),
                                       orv::tools::EncodeCg(second, orv::tools::DrawnCanvas(first)),
                                       orv::tools::EncodeCg(third)});
}

Bytes Sound(std::size_t frames)
{
    return orv::tools::BuildSoundEntry(orv::kSoundStereo22050,
                                       orv::tools::SineSamples(22050, frames, {{440.0}, {660.0}}, 5000.0, 100));
}

// count raw entries of 256 bytes each, named prefix0.bin, prefix1.bin, ...
std::vector<PackItem> RawEntries(const std::string& prefix, int count)
{
    std::vector<PackItem> items;
    for (int i = 0; i < count; ++i)
        items.push_back({prefix + std::to_string(i) + ".bin", Bytes(256, static_cast<std::uint8_t>(i))});
    return items;
}

std::vector<PackItem> Joined(std::vector<PackItem> items, const std::vector<PackItem>& more)
{
    items.insert(items.end(), more.begin(), more.end());
    return items;
}

class ParallelTest : public CliTest {
protected:
    // Output folders of the inputs MixedBatch puts after the failing one.
    const std::vector<std::string> kAfterFailure{"after", "late"};

    // Archives of pictures, animations, sounds (one streamed) and raw entries; three
    // inputs writing into data01/; an input that cannot be opened and two that are
    // skipped; with failing, an archive whose third entry ends the run, before two more.
    std::vector<std::string> MixedBatch(bool failing)
    {
        fs::create_directories(in() / "a");
        fs::create_directories(in() / "b");
        std::vector<std::string> files{
            Input("a/data01.dat",
                  BuildPack({{"p1.cg", Picture(1)},
                             {"p2.cg", Picture(2)},
                             {"readme.txt", BytesOf("first")},
                             {"voice.pcm", Sound(2000)},
                             {"walk.ani", Animation(3)}})),
            Input("big.dat",
                  BuildPack(
                      Joined(RawEntries("r", 400), {{"wide.cg", Picture(4, 300, 200)}, {"walk.ani", Animation(5)}}))),
            Input("Title.ANI", Animation(6)),
            (in() / "gone.dat").string(),
            Input("b/DATA01.DAT",
                  BuildPack({{"p1.cg", Picture(7)}, {"readme.txt", BytesOf("second")}, {"p3.cg", Picture(8)}})),
            Input("notes.txt", BytesOf("not converted")),
            Input("fake.dat", BytesOf("no archive")),
            Input("data01.ani", Animation(9)),
            Input("music.dat",
                  BuildPack({{"music.pcm", Sound(orv::kSoundStreamThreshold / 4 + 1000)}, {"p.cg", Picture(10)}})),
        };
        if (failing)
            files.push_back(Input("fatal.dat",
                                  BuildPack({{"ok.txt", BytesOf("ok")},
                                             {"ok.cg", Picture(11)},
                                             {"../x.txt", BytesOf("x")},
                                             {"never.txt", BytesOf("n")}})));
        files.push_back(Input("after.dat", BuildPack(Joined(RawEntries("a", 300), {{"p.cg", Picture(12)}}))));
        files.push_back(Input("late.ani", Animation(13)));
        return files;
    }

    // What orvconv-cli says of the inputs of MixedBatch that it does not convert.
    std::string SkippedLines() const
    {
        return NotOpenedLine((in() / "gone.dat").string(), ENOENT)
            + PassedOverLine((in() / "notes.txt").string(), kNotAnInputName)
            + PassedOverLine((in() / "fake.dat").string(), kNotAPackArchive);
    }

    std::string Settings() { return Input("walk.ini", BytesOf("[walk.ani]\np3=1\n[title.ani]\np2=-1\n")); }

    // Converts files into a folder of its own under root() with the given options.
    Process::Result ConvertInto(const std::string& folder, std::vector<std::string> args,
                                const std::vector<std::string>& files)
    {
        fs::create_directories(root() / folder);
        args.insert(args.begin(), {"-o", (root() / folder).string()});
        args.insert(args.end(), files.begin(), files.end());
        return Run(args);
    }
};

}  // namespace

TEST_F(ParallelTest, FourAtOnceWriteTheFilesAndMessagesOfOneAtATime)
{
    const std::vector<std::string> files = MixedBatch(false);
    const auto one = ConvertInto("one", {"-f", "png", "-s", Settings(), "-j", "1"}, files);
    ASSERT_EQ(one.exitCode, 3) << one.err;
    EXPECT_EQ(one.out, kFinished);
    EXPECT_EQ(one.err, SkippedLines());
    const Tree expected = TreeOf(root() / "one");
    ASSERT_EQ(FoldersIn(root() / "one"),
              (std::vector<std::string>{"after", "big", "data01", "late", "music", "title"}));
    // The later inputs of data01/ won: b/DATA01.DAT's readme, and data01.ani's frames.
    EXPECT_EQ(expected.at("data01/readme.txt"), BytesOf("second"));
    EXPECT_TRUE(expected.count("data01/p2.png") && expected.count("data01/data01_0003.png"));

    for (const char* run : {"four", "again"}) {
        const auto four = ConvertInto(run, {"-f", "png", "-s", Settings(), "-j", "4"}, files);
        EXPECT_EQ(four.exitCode, 3) << four.err;
        EXPECT_EQ(four.out, one.out);
        EXPECT_EQ(four.err, one.err);
        EXPECT_TRUE(TreeOf(root() / run) == expected) << run;
    }
}

TEST_F(ParallelTest, AFatalErrorLeavesEverythingBeforeItAsOneAtATimeDoes)
{
    const std::vector<std::string> files = MixedBatch(true);
    const auto one = ConvertInto("one", {"-j", "1"}, files);
    EXPECT_EQ(one.exitCode, 1);
    EXPECT_EQ(one.out, "");
    const std::string fatalText
        = CliError("ファイルオープンエラー！", (root() / "one" / "fatal").string() + "/../x.txt");
    EXPECT_EQ(one.err, SkippedLines() + fatalText);
    const std::vector<std::string> before = FoldersIn(root() / "one");
    ASSERT_EQ(before, (std::vector<std::string>{"big", "data01", "fatal", "music", "title"}));
    EXPECT_EQ(FilesIn(root() / "one" / "fatal"), (std::vector<std::string>{"ok.bmp", "ok.txt"}));

    for (const char* run : {"four", "again"}) {
        const auto four = ConvertInto(run, {"-j", "4"}, files);
        EXPECT_EQ(four.exitCode, 1);
        EXPECT_EQ(four.out, "");
        const std::string ownPath = (root() / run).string();
        std::string err = four.err;
        if (const auto at = err.find(ownPath); at != std::string::npos)
            err.replace(at, ownPath.size(), (root() / "one").string());
        EXPECT_EQ(err, one.err);
        // Inputs after the failed one may have been started before it failed.
        for (const std::string& folder : FoldersIn(root() / run)) {
            const bool earlier = std::find(before.begin(), before.end(), folder) != before.end();
            EXPECT_TRUE(earlier || std::find(kAfterFailure.begin(), kAfterFailure.end(), folder) != kAfterFailure.end())
                << folder;
            if (earlier) {
                EXPECT_TRUE(TreeOf(root() / run / folder) == TreeOf(root() / "one" / folder)) << run << " " << folder;
            }
        }
        for (const std::string& folder : before) EXPECT_TRUE(fs::exists(root() / run / folder)) << folder;
    }
}

TEST_F(ParallelTest, CtrlCStopsEveryFileUnderWayWithCode130)
{
    // Enough entries that both files are still going when the signal arrives.
    const std::vector<PackItem> items = RawEntries("e", 20000);
    const std::string one = Input("one.dat", BuildPack(items));
    const std::string two = Input("two.dat", BuildPack(items));
    const std::string three = Input("three.dat", Sample());

    Process process = Start({"-j", "2", one, two, three});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!(fs::exists(root() / "one" / "e10.bin") && fs::exists(root() / "two" / "e10.bin"))
           && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ::kill(process.pid(), SIGINT);
    const auto result = Finish(process);

    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(result.out, kCancelled);
    EXPECT_EQ(result.err, "");
    for (const char* folder : {"one", "two"}) {
        const auto written = FilesIn(root() / folder);
        EXPECT_GT(written.size(), 10u) << folder;
        EXPECT_LT(written.size(), items.size()) << folder;
        // The entry under way when the signal came was finished: every file is whole.
        for (const std::string& name : written)
            EXPECT_EQ(fs::file_size(root() / folder / name), 256u) << folder << "/" << name;
    }
    EXPECT_FALSE(fs::exists(root() / "three"));
}

namespace {

// One archive of many pictures, names taken twice, animations drawn over earlier frames,
// sounds and raw entries: what two threads encode at once within one input.
Bytes OneLargeArchive()
{
    std::vector<PackItem> items;
    for (unsigned i = 0; i < 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%03u.cg", i % 50);  // the last ten names come again
        items.push_back({name, Picture(100 + i, 96, 64)});
        if (i % 15 == 7) items.push_back({"walk" + std::to_string(i) + ".ani", Animation(i)});
        if (i % 20 == 3) items.push_back({"s" + std::to_string(i) + ".pcm", Sound(500 + i)});
        if (i % 9 == 0) items.push_back({"r" + std::to_string(i) + ".bin", Bytes(100, static_cast<std::uint8_t>(i))});
    }
    return BuildPack(items);
}

}  // namespace

TEST_F(ParallelTest, OneArchiveOnSeveralThreadsWritesTheTreeOfOne)
{
    const std::string archive = Input("one.dat", OneLargeArchive());
    // A folder at an output name fails that entry, in the middle of the archive: the tree
    // left behind and the message are those of one thread.
    for (const char* format : {"png", "bmp"}) {
        for (const bool failing : {false, true}) {
            const std::string blocked = std::string("p023.") + format;
            std::map<std::string, std::pair<int, std::string>> results;
            for (const char* jobs : {"1", "2", "3"}) {
                const std::string run = std::string(format) + (failing ? "-fail-" : "-") + jobs;
                if (failing) fs::create_directories(root() / run / "one" / blocked);
                const auto result = ConvertInto(run, {"-f", format, "-j", jobs}, {archive});
                std::string err = result.err;
                for (auto at = err.find(run); at != std::string::npos; at = err.find(run)) err.erase(at, run.size());
                results[jobs] = {result.exitCode, err};
            }
            const std::string one = std::string(format) + (failing ? "-fail-1" : "-1");
            EXPECT_EQ(results["1"].first, failing ? 1 : 0) << one << results["1"].second;
            const Tree expected = TreeOf(root() / one);
            EXPECT_EQ(expected.count(std::string("one/p049.") + format), failing ? 0u : 1u) << one;
            for (const char* jobs : {"2", "3"}) {
                const std::string run = std::string(format) + (failing ? "-fail-" : "-") + jobs;
                EXPECT_EQ(results[jobs], results["1"]) << run;
                EXPECT_TRUE(TreeOf(root() / run) == expected) << run;
            }
        }
    }
}

TEST_F(ParallelTest, CtrlCInOneArchiveOnTwoThreadsLeavesTheFilesOfTheEntriesBeforeAPoint)
{
    std::vector<PackItem> items;
    for (unsigned i = 0; i < 400; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%03u.cg", i);
        items.push_back({name, Picture(i, 160, 120)});
    }
    const std::string archive = Input("big.dat", BuildPack(items));
    ASSERT_EQ(ConvertInto("whole", {"-q", "-f", "png", "-j", "1"}, {archive}).exitCode, 0);
    const Tree whole = TreeOf(root() / "whole" / "big");

    Process process = Start({"-f", "png", "-j", "2", archive});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(root() / "big" / "p020.png") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ::kill(process.pid(), SIGINT);
    const auto result = Finish(process);
    EXPECT_EQ(result.exitCode, 130) << result.err;

    // The files of p000 ... p(n-1), each as one thread writes it, and nothing else.
    const Tree cut = TreeOf(root() / "big");
    EXPECT_GE(cut.size(), 21u);
    EXPECT_LT(cut.size(), whole.size());
    auto next = whole.begin();
    for (const auto& [name, bytes] : cut) {
        ASSERT_EQ(name, next->first);
        EXPECT_TRUE(bytes == next->second) << name;
        ++next;
    }
}
