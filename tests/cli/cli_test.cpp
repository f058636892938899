#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <chrono>
#include <sstream>
#include <thread>

#include "build_paths.h"
#include "cli_fixture.h"

using orv::tools::BuildPack;
using orv::tools::Bytes;
using orv::tools::BytesOf;

TEST_F(CliTest, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"--bogus", "x.dat"},
                                                 {"-f", "gif", "x.dat"},
                                                 {"-o"},
                                                 {"-j", "0", "x.dat"},
                                                 {"--jobs", "many", "x.dat"}}) {
        const auto result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(result.err.find("usage: orvconv-cli"), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(CliTest, HelpAndVersionGoToStdoutAndSucceed)
{
    const auto help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--format", "--ani-raw", "--animation", "--frame-ms", "--sheet-columns", "--settings",
                               "--output-root", "--list", "--quiet", "--jobs"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    // Usage first, and nothing wider than a terminal of 80 columns.
    EXPECT_TRUE(help.out.starts_with("Usage: orvconv-cli [OPTIONS] FILE...\n")) << help.out;
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
    const auto version = Run({"-V"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("orvconv-cli ", 0), 0u) << version.out;
}

TEST_F(CliTest, ConvertsIntoALowerCasedFolderAndSaysSoOnStdout)
{
    const auto result = Convert({Input("DATA01.DAT", Sample())});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, kFinished);
    EXPECT_EQ(result.err, "");  // not a terminal: no progress line
    // walk.ani's one frame lies past its data: an animation with nothing to draw.
    EXPECT_EQ(FilesIn(root() / "data01"), (std::vector<std::string>{"readme.txt", "タイトル.txt"}));
    EXPECT_EQ(ReadAll(root() / "data01" / "readme.txt"), BytesOf("hello"));
}

TEST_F(CliTest, OutputGoesIntoTheCurrentFolderOrAnOutputRootMadeWithItsParents)
{
    // Run from a folder of its own, as from a terminal: never beside the executable.
    const auto work = dir.path() / "work";
    std::filesystem::create_directory(work);
    const std::string input = Input("Sample.dat", Sample());
    const auto here
        = Process(build_paths::kCli, {input}, dir.path(), {}, [&work] { return ::chdir(work.c_str()); }).Wait();
    EXPECT_EQ(here.exitCode, 0) << here.err;
    EXPECT_EQ(ReadAll(work / "sample" / "readme.txt"), BytesOf("hello"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(build_paths::kCli).parent_path() / "sample"));

    const auto deep = root() / "a" / "b";
    const auto made = Run({"-o", deep.string(), input});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(ReadAll(deep / "sample" / "readme.txt"), BytesOf("hello"));
}

TEST_F(CliTest, QuietPrintsNothing)
{
    const auto result = Convert({"-q", Input("data.dat", Sample())});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
}

TEST_F(CliTest, UnopenableAndOtherInputsAreSkippedAndTheBatchGoesOn)
{
    const std::string missing = (in() / "Gone.DAT").string();
    const auto result = Convert({missing, Input("notes.txt", Sample()), Input("data.dat", Sample())});
    // The batch ran to its end, with a status of its own telling that an input was not read.
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err,
              NotOpenedLine(missing, ENOENT) + PassedOverLine((in() / "notes.txt").string(), kNotAnInputName));
    EXPECT_EQ(result.out, kFinished);
    EXPECT_TRUE(std::filesystem::exists(root() / "data" / "readme.txt"));
    EXPECT_FALSE(std::filesystem::exists(root() / "notes"));
}

TEST_F(CliTest, InputsPassedOverAreNamedWithTheirReasonAndNothingConvertedHasItsOwnStatus)
{
    std::filesystem::create_directory(in() / "folder");
    std::filesystem::create_directory(in() / "box.dat");
    const std::vector<std::pair<std::string, std::string>> passedOver{
        {(in() / "folder").string(), kAFolder},
        {(in() / "box.dat").string(), kAFolder},
        {Input("mine.ini", BytesOf("[walk.ani]\n")), kNotAnInputName},
        {Input("renamed.bin", Sample()), kNotAnInputName},
        {Input("notes.dat", BytesOf("not an archive")), kNotAPackArchive}};
    std::vector<std::string> paths;
    std::string expected;
    for (const auto& [path, reason] : passedOver) {
        paths.push_back(path);
        expected += PassedOverLine(path, reason);
    }
    for (const bool list : {false, true}) {
        std::vector<std::string> args = paths;
        if (list) args.insert(args.begin(), "--list");
        const auto result = Run(args);
        EXPECT_EQ(result.exitCode, 4) << list;
        EXPECT_EQ(result.err, expected);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(root()));

    // Once one input is converted the run succeeds, and still names what it passed over.
    paths.push_back(Input("data.dat", Sample()));
    const auto some = Run(paths);
    EXPECT_EQ(some.exitCode, 0);
    EXPECT_EQ(some.err, expected);
    EXPECT_EQ(some.out, kFinished);
    // Without -o, into the folder the run was started in, which is the test's own.
    EXPECT_EQ(FilesIn(dir.path() / "data"), (std::vector<std::string>{"readme.txt", "タイトル.txt"}));
}

TEST_F(CliTest, FinalMessageFollowsTheLastFileOnly)
{
    // Also with two files at once, where the skipped one may end first.
    for (const char* jobs : {"1", "2"}) {
        const auto lastSkipped
            = Convert({"-j", jobs, Input("data.dat", Sample()), Input("fake.dat", BytesOf("not an archive"))});
        EXPECT_EQ(lastSkipped.exitCode, 0);
        EXPECT_EQ(lastSkipped.out, "") << jobs;
        EXPECT_TRUE(std::filesystem::exists(root() / "data" / "readme.txt"));
        EXPECT_FALSE(std::filesystem::exists(root() / "fake"));
    }
}

TEST_F(CliTest, FatalErrorEndsWithItsTextAndCodeOne)
{
    // One file at a time: nothing after the failed file is started.
    const std::string archive = Input("evil.dat", BuildPack({{"ok.txt", BytesOf("ok")}, {"../out.txt", BytesOf("x")}}));
    const auto result = Convert({"-j", "1", archive, Input("after.dat", Sample())});
    EXPECT_EQ(result.exitCode, 1);
    const std::string path = (root() / "evil").string() + "/../out.txt";
    EXPECT_EQ(result.err, CliError("ファイルオープンエラー！", path));
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(std::filesystem::exists(root() / "out.txt"));
    EXPECT_FALSE(std::filesystem::exists(root() / "after"));
}

TEST_F(CliTest, AFullDiskIsTheWriteErrorNeverSuccess)
{
    const std::string archive = Input("big.dat", BuildPack({{"big.bin", Bytes(256 * 1024, 7)}}));
    Limits limits;
    limits.fileSize = 64 * 1024;
    const auto result = Run({"-o", root().string(), archive}, limits);
    EXPECT_EQ(result.exitCode, 1);
    const std::string path = (root() / "big" / "big.bin").string();
    EXPECT_EQ(result.err, CliError("ファイル書き込みエラー！", path, EFBIG));
    EXPECT_EQ(result.out.find("変換終了しました。"), std::string::npos);
}

TEST_F(CliTest, SettingsComposeFramesAndAMissingOrUnreadableFileStopsBeforeConverting)
{
    // Two frames, both the same one-pixel picture; the settings file leaves frame 2 out.
    Bytes animation{8, 0, 0, 0, 8, 0, 0, 0, 0, 1, 0, 1, 0};
    animation.resize(animation.size() + 384, 0);
    animation.push_back(0x80);
    const std::string input = Input("walk.ani", animation);
    const std::string settings = Input("mine.ini", BytesOf("[walk.ani]\np2=2\n"));

    const auto composed = Convert({"-s", settings, input});
    EXPECT_EQ(composed.exitCode, 0) << composed.err;
    EXPECT_EQ(FilesIn(root() / "walk"), std::vector<std::string>{"walk_0001.bmp"});

    // A settings file named but missing would silently compose other frames: a usage error.
    const auto missing = Convert({"-s", (in() / "none.ini").string(), input});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find((in() / "none.ini").string()), std::string::npos) << missing.err;
    EXPECT_EQ(FilesIn(root() / "walk"), std::vector<std::string>{"walk_0001.bmp"});

    // A FIFO exists but cannot be read as a settings file, even by root.
    std::filesystem::remove_all(root() / "walk");
    const std::string fifo = (in() / "fifo.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const auto unreadable = Convert({"-s", fifo, input});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_EQ(unreadable.err, "orvconv-cli: ファイル " + fifo + " は開けません\n");
    EXPECT_FALSE(std::filesystem::exists(root() / "walk"));
}

TEST_F(CliTest, ListPrintsOneLinePerEntryOrFrame)
{
    const auto archive = Run({"--list", Input("data.dat", Sample())});
    EXPECT_EQ(archive.exitCode, 0);
    // Entries start after the 6-byte header and three 24-byte records: offset 78.
    EXPECT_EQ(archive.out,
              "0\treadme.txt\t78\t5\tother\n"
              "1\tタイトル.txt\t83\t5\tother\n"
              "2\twalk.ani\t88\t4\tanimation\n");
    EXPECT_FALSE(std::filesystem::exists(in() / "data"));

    // The third frame starts at 400: the file holds bytes up to there and one more.
    Bytes frames{12, 0, 0, 0, 40, 0, 0, 0, 0x90, 1, 0, 0, 0xEE};
    frames.resize(401);
    const auto animation = Run({"-l", Input("Walk.ANI", frames)});
    EXPECT_EQ(animation.exitCode, 0);
    EXPECT_EQ(animation.out, "1\t12\n2\t40\n3\t400\n");

    // Several inputs: a heading for each one listed, a blank line between listings; what is
    // no input (a text file) lists nothing.
    const std::string data = (in() / "data.dat").string(), walk = (in() / "Walk.ANI").string();
    const auto both = Run({"-l", data, Input("notes.txt", Sample()), walk});
    EXPECT_EQ(both.exitCode, 0);
    EXPECT_EQ(both.out, "==> " + data + " <==\n" + archive.out + "\n==> " + walk + " <==\n" + animation.out);
}

TEST_F(CliTest, CtrlCStopsBetweenEntriesWithCode130)
{
    // Enough entries that the run is still going when the signal arrives.
    std::vector<orv::tools::PackItem> items;
    for (int i = 0; i < 20000; ++i)
        items.push_back({"e" + std::to_string(i) + ".bin", Bytes(512, static_cast<std::uint8_t>(i))});
    const std::string archive = Input("many.dat", BuildPack(items));

    Process process = Start({archive});
    const auto folder = root() / "many";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(folder / "e10.bin") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ::kill(process.pid(), SIGINT);
    const auto result = Finish(process);

    EXPECT_EQ(result.exitCode, 130);
    EXPECT_EQ(result.out, kCancelled);
    const auto written = FilesIn(folder);
    EXPECT_GT(written.size(), 10u);
    EXPECT_LT(written.size(), items.size());
    // The entry under way when Stop came was finished: every file is whole.
    for (const std::string& name : written) EXPECT_EQ(std::filesystem::file_size(folder / name), 512u) << name;
}
