#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "animation_bytes.h"
#include "engine_fixture.h"
#include "picture_bytes.h"
#include "engine/base/fatal_error.h"

using namespace orv;
using orv::tools::BuildPack;
using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

Bytes ThreeEntries()
{
    return BuildPack({{"a.txt", BytesOf("alpha")}, {"b.bin", BytesOf("")}, {"c.txt", BytesOf("gamma")}});
}

}  // namespace

using ConvertInputFileTest = EngineTest;

TEST_F(ConvertInputFileTest, ProgressCounterAndPumpCallsComeInTheirOrder)
{
    Input("DATA01.DAT", BuildPack({{"a.txt", BytesOf("alpha")}, {"b.txt", BytesOf("beta")}}));
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);

    const std::string out = exeDir().string() + "/data01/";
    const std::vector<std::string> expected{"max 2",
                                            "counter [0/2]",
                                            "repaint",
                                            "pump",
                                            "output " + out + "a.txt",
                                            "position 1",
                                            "counter [1/2]",
                                            "pump",
                                            "output " + out + "b.txt",
                                            "position 2",
                                            "counter [2/2]",
                                            "position 2"};
    EXPECT_EQ(view.calls, expected);
    EXPECT_EQ(converter.srcName, "data01.dat");
    EXPECT_EQ(converter.outDir, out);
    EXPECT_EQ(ReadAll(out + "a.txt"), BytesOf("alpha"));
    EXPECT_EQ(ReadAll(out + "b.txt"), BytesOf("beta"));
}

TEST_F(ConvertInputFileTest, EmptyArchiveMakesTheFolderAndFinishes)
{
    Input("empty.dat", BuildPack({}));
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    const std::vector<std::string> expected{"max 0", "counter [0/0]", "repaint", "position 0"};
    EXPECT_EQ(view.calls, expected);
    EXPECT_TRUE(std::filesystem::is_directory(exeDir() / "empty"));
}

TEST_F(ConvertInputFileTest, StopSeenBeforeAnEntryEndsTheFileThere)
{
    Input("data.dat", ThreeEntries());
    view.onPump = [&](int pump) {
        if (pump == 2) stop.request_stop();
    };
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Cancelled);
    EXPECT_EQ(FilesIn(exeDir() / "data"), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(view.position(), 1);
}

TEST_F(ConvertInputFileTest, StopDuringTheLastEntryIsNotSeenHere)
{
    Input("data.dat", ThreeEntries());
    view.onOutput = [&](const std::string& path) {
        if (path.ends_with("c.txt")) stop.request_stop();
    };
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_EQ(FilesIn(exeDir() / "data"), (std::vector<std::string>{"a.txt", "b.bin", "c.txt"}));
    EXPECT_EQ(ReadAll(exeDir() / "data" / "b.bin"), Bytes{});
}

TEST_F(ConvertInputFileTest, OtherExtensionsAreSkippedWithoutAnyCall)
{
    Input("data.txt", ThreeEntries());
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Skipped);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(FilesIn(exeDir()).empty());
}

TEST_F(ConvertInputFileTest, WrongMagicIsSkippedWithoutFolderOrMessage)
{
    Input("data.dat", BytesOf("PACK\x01\x00"));
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Skipped);
    Input("short.dat", BytesOf("pa"));
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Skipped);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(FilesIn(exeDir()).empty());
}

TEST_F(ConvertInputFileTest, UnopenableInputShowsItsLowerCasedNameAndIsNotOpened)
{
    converter.srcPath = (inDir() / "Missing.DAT").string();
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::NotOpened);
    EXPECT_EQ(view.calls, std::vector<std::string>{"message ファイルを開けません！\nmissing.dat"});
}

TEST_F(ConvertInputFileTest, MixedCaseExtensionsAreAcceptedAndTheFolderIsLowerCase)
{
    Input("Mixed.Dat", ThreeEntries());
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_TRUE(std::filesystem::is_directory(exeDir() / "mixed"));
}

TEST_F(ConvertInputFileTest, ConvertingTwiceOverwritesTheEarlierFiles)
{
    Input("data.dat", BuildPack({{"a.txt", BytesOf("a long first content")}}));
    converter.ConvertInputFile();
    Input("data.dat", BuildPack({{"a.txt", BytesOf("short")}}));
    converter.ConvertInputFile();
    EXPECT_EQ(ReadAll(exeDir() / "data" / "a.txt"), BytesOf("short"));
}

TEST_F(ConvertInputFileTest, StemsThatNameNoFolderOfTheirOwnUseTheWholeName)
{
    for (const char* name : {".dat", "..dat", "...dat"}) {
        Input(name, BuildPack({{"x.txt", BytesOf("x")}}));
        EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished) << name;
        EXPECT_EQ(ReadAll(exeDir() / name / "x.txt"), BytesOf("x")) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.txt"));
    EXPECT_FALSE(std::filesystem::exists(exeDir() / "x.txt"));
}

TEST_F(ConvertInputFileTest, EntryNamesInCp932BecomeUtf8FileNames)
{
    Input("data.dat",
          BuildPack({{"\x83\x5e\x83\x43\x83\x67\x83\x8b.txt", BytesOf("t")}, {"bad\xA0name", BytesOf("b")}}));
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_EQ(FilesIn(exeDir() / "data"), (std::vector<std::string>{"bad%A0name", "タイトル.txt"}));
}

// ---- Stand-alone animation files -------------------------------------------------

TEST_F(ConvertInputFileTest, StandAloneAnimationNameIsCutTo15BytesOfCp932)
{
    const Bytes oneFrame = AnimationOf({PictureBytes::Full(1, 1, {}, {0x80})});
    Input("abcdefghijklmnopq.ani", oneFrame);
    converter.ConvertInputFile();
    EXPECT_EQ(FilesIn(exeDir() / "abcdefghijklmnopq"), std::vector<std::string>{"abcdefghijklmno_0001.bmp"});

    // Seven two-byte characters and a lead byte would make 15; the lead byte is dropped.
    Input("あいうえおかきく.ani", oneFrame);
    converter.ConvertInputFile();
    EXPECT_EQ(FilesIn(exeDir() / "あいうえおかきく"), std::vector<std::string>{"あいうえおかき_0001.bmp"});
}

TEST_F(ConvertInputFileTest, StandAloneAnimationNamesThatReadBackAsSeparatorsAreConverted)
{
    const Bytes oneFrame = AnimationOf({PictureBytes::Full(1, 1, {}, {0x80})});
    Input("¥.ani", oneFrame);
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_EQ(FilesIn(exeDir() / "¥"), std::vector<std::string>{"__0001.bmp"});
    Input("a\\b.ani", oneFrame);
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_EQ(FilesIn(exeDir() / "a\\b"), std::vector<std::string>{"a_b_0001.bmp"});
}

TEST_F(ConvertInputFileTest, AnInputsFilesDoNotDependOnTheInputsBeforeIt)
{
    // Frame 1 is 1 x 1; frame 2 is 4 x 4, draws nothing (an empty rectangle) and is
    // written as the canvas holds it. As the first input of a run, frame 2 needs a larger
    // block than frame 1 had: a new one, black.
    const Bytes grow
        = AnimationOf({PictureBytes::Full(1, 1, {{0, 9, 9, 9}}, {0x80}), PictureBytes::Rect(4, 4, 0, 0, 0, 0, {}, {})});
    // An 8 x 8 white picture before it leaves a canvas block large enough for frame 2.
    Input("white.dat",
          BuildPack({{"white.cg", PictureBytes::Full(8, 8, {{0, 0xFF, 0xFF, 0xFF}}, {0x80, 0x10, 0x30})}}));
    ASSERT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    Input("grow.ani", grow);
    ASSERT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);

    const Bytes frame = ReadAll(exeDir() / "grow" / "grow_0002.bmp");
    ASSERT_EQ(frame.size(), 54u + 48u);
    for (std::size_t i = 54; i < frame.size(); ++i) EXPECT_EQ(frame[i], 0) << "byte " << i;
}

TEST_F(ConvertInputFileTest, AnimationsThatDrawNothingStillGetTheirFolder)
{
    // As an archive of no entries does: the folder shows the input was converted.
    const std::vector<std::pair<std::string, Bytes>> inputs{
        {"none.ani", Bytes{0, 0, 0, 0}}, {"hidden.ani", AnimationOf({Bytes{1, 4, 0, 3, 0}, Bytes{1, 2, 0, 2, 0}})}};
    for (const auto& [name, bytes] : inputs) {
        Input(name, bytes);
        EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished) << name;
        const auto folder = exeDir() / name.substr(0, name.find('.'));
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << name;
        EXPECT_TRUE(FilesIn(folder).empty()) << name;
    }
}

TEST_F(ConvertInputFileTest, StopDuringAStandAloneAnimationStillFinishes)
{
    Input("walk.ani", Bytes{4, 0, 0, 0});
    stop.request_stop();
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
}

// ---- Sizes the file does not hold --------------------------------------------------

TEST_F(ConvertInputFileTest, EntriesReachingPastTheEndGetOnlyTheBytesThere)
{
    // The header and two records: one claims 4 GiB from offset 0, one lies far
    // beyond the end of the file.
    Bytes archive = tools::PackHeader(2);
    tools::AppendRecord(archive, "all.bin", 0, 0xFFFFFFFFu);
    tools::AppendRecord(archive, "beyond.bin", 0xFFFFFF00u, 0xFFu);
    Input("tiny.dat", archive);

    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_EQ(ReadAll(exeDir() / "tiny" / "all.bin"), archive);
    EXPECT_EQ(ReadAll(exeDir() / "tiny" / "beyond.bin"), Bytes{});
    EXPECT_LE(converter.dataBlockBytes(), archive.size());
}

TEST_F(ConvertInputFileTest, MissingTableRecordsReadAsZeroAndEndInTheOpenError)
{
    // Two records announced, one present: the second is all zeros, an empty name.
    Bytes archive = tools::PackHeader(2);
    tools::AppendRecord(archive, "a.txt", 0, 4);
    Input("cut.dat", archive);
    try {
        converter.ConvertInputFile();
        FAIL() << "an empty entry name must not be written";
    } catch (const FatalError& error) {
        EXPECT_EQ(std::string(error.what()), "ファイルオープンエラー！\n" + converter.outDir + "\n終了します。");
    }
    EXPECT_EQ(ReadAll(exeDir() / "cut" / "a.txt"), BytesOf("pack"));
}

TEST_F(ConvertInputFileTest, AnimationFileBeyondTheMemoryLimitIsTheMemoryError)
{
    const auto path = inDir() / "huge.ani";
    Input("huge.ani", Bytes{});
    std::filesystem::resize_file(path, std::uintmax_t{kMaxScratchBytes} + 1);  // sparse
    try {
        converter.ConvertInputFile();
        FAIL() << "expected the memory error";
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "メモリ確保できません！\n終了します。");
    }
}

// ---- Names that try to leave the output folder, and failed writes ----------------

TEST_F(ConvertInputFileTest, NamesThatLeaveTheFolderAreTheOpenErrorAndWriteNothing)
{
    for (const char* name : {"../escape.txt", "..", ".", "sub/x.txt", "..\\x.txt", "/etc.txt"}) {
        Input("evil.dat", BuildPack({{name, BytesOf("payload")}}));
        try {
            converter.ConvertInputFile();
            ADD_FAILURE() << name << " was written";
        } catch (const FatalError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "ファイルオープンエラー！\n" + converter.outDir + name + "\n終了します。");
        }
        EXPECT_TRUE(FilesIn(exeDir() / "evil").empty()) << name;
    }
    EXPECT_EQ(FilesIn(exeDir()), std::vector<std::string>{"evil"});
    EXPECT_EQ(FilesIn(inDir()), std::vector<std::string>{"evil.dat"});
}

TEST_F(ConvertInputFileTest, AFolderForOutputFoldersThatCannotBeMadeIsTheFolderErrorNamingIt)
{
    // A missing one is made with its parents; one under a file cannot be.
    Input("blocker", BytesOf("a file"));
    Input("data.dat", ThreeEntries());
    converter.options.exeDir = (dir.path() / "made" / "with" / "parents").string() + "/";
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_EQ(FilesIn(dir.path() / "made" / "with" / "parents" / "data").size(), 3u);

    const std::string impossible = (inDir() / "blocker" / "sub").string();
    converter.options.exeDir = impossible + "/";
    try {
        converter.ConvertInputFile();
        FAIL() << "no folder can be made under a file";
    } catch (const FatalError& error) {
        EXPECT_EQ(std::string(error.what()), "フォルダを作成できません！\n" + impossible + "\n終了します。");
    }
}

TEST_F(ConvertInputFileTest, AShortWriteIsTheWriteError)
{
    Input("full.dat", BuildPack({{"big.bin", Bytes(64 * 1024, 1)}}));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        converter.ConvertInputFile();
    } catch (const FatalError& error) {
        message = error.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "ファイル書き込みエラー！\n" + converter.outDir + "big.bin\n終了します。");
}
