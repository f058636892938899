#include <gtest/gtest.h>

#include "animation_bytes.h"
#include "engine_fixture.h"
#include "picture_bytes.h"
#include "settings/settings_file.h"

using namespace orv;
using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

constexpr int kFrames = 5;

// Frame k draws only pixel k-1 of a 5 x 1 canvas, in colour (k, k, k): each
// written picture shows which frames it was composed of.
Bytes Frame(int k)
{
    const auto c = static_cast<std::uint8_t>(k);
    return PictureBytes::Rect(kFrames, 1, static_cast<std::uint16_t>(k - 1), 0, static_cast<std::uint16_t>(k), 1,
                              {{1, c, c, c}}, {0x81});
}

Bytes FiveFrames()
{
    std::vector<Bytes> frames;
    for (int k = 1; k <= kFrames; ++k) frames.push_back(Frame(k));
    return AnimationOf(frames);
}

}  // namespace

class ConvertAnimationTest : public EngineTest {
protected:
    ConvertAnimationTest() { converter.outDir = exeDir().string() + "/"; }

    void Convert(const Bytes& data, std::string_view name = "walk.ani")
    {
        Bytes record;
        tools::AppendRecord(record, name, 0, static_cast<std::uint32_t>(data.size()));
        ArchiveEntry entry = ParseArchiveEntry(record.data());
        converter.ConvertAnimation(data.data(), entry);
    }

    void UseSettings(const std::string& text)
    {
        const std::string path = (dir.path() / "test.ini").string();
        ASSERT_TRUE(tools::WriteFileBytes(path, BytesOf(text)));
        settings = SettingsFile::Load(path);
        converter.options.iniFile = settings.get();
    }

    // Which frames' pixels the written frame shows, as a string like "12-4-".
    std::string Shown(int frame) const
    {
        char name[32];
        std::snprintf(name, sizeof name, "walk_%04d.bmp", frame);
        const Bytes file = ReadAll(exeDir() / name);
        if (file.size() < 54 + 15) return "no file";
        std::string shown;
        for (int x = 0; x < kFrames; ++x) shown += file[54 + 3 * x] ? static_cast<char>('0' + file[54 + 3 * x]) : '-';
        return shown;
    }

    std::unique_ptr<SettingsFile> settings;
};

TEST_F(ConvertAnimationTest, WorkedExampleWithOffsets8And400)
{
    // Frame 1 at byte 8 is a full 2 x 1 picture; frame 2 at byte 400 redraws only
    // pixel 1. Each is a type 5 block when dumped, so sizes handed over show too.
    Bytes data{0x08, 0, 0, 0, 0x90, 0x01, 0, 0};
    const Bytes first = PictureBytes::Full(2, 1, {{1, 9, 9, 9}, {2, 7, 7, 7}}, {0x81, 0x81});
    data.insert(data.end(), first.begin(), first.end());
    data.resize(400, 0);
    const Bytes second = PictureBytes::Rect(2, 1, 1, 0, 2, 1, {{2, 7, 7, 7}}, {0x82, 0x00});
    data.insert(data.end(), second.begin(), second.end());
    Convert(data);
    EXPECT_EQ(FilesIn(exeDir()), (std::vector<std::string>{"walk_0001.bmp", "walk_0002.bmp"}));
    const Bytes frame2 = ReadAll(exeDir() / "walk_0002.bmp");
    EXPECT_EQ(Bytes(frame2.begin() + 54, frame2.begin() + 60), (Bytes{9, 9, 9, 7, 7, 7}));

    // The same animation with frames of an unknown type: each dump runs from the
    // frame's offset to the end of the data.
    data[8] = 5;
    data[400] = 5;
    Convert(data);
    EXPECT_EQ(ReadAll(exeDir() / "walk.ani_0001").size(), data.size() - 8);
    EXPECT_EQ(ReadAll(exeDir() / "walk.ani_0002").size(), data.size() - 400);
}

TEST_F(ConvertAnimationTest, WithoutSettingsEachFrameIsDrawnOverTheOneBefore)
{
    Convert(FiveFrames());
    EXPECT_EQ(Shown(1), "1----");
    EXPECT_EQ(Shown(3), "123--");
    EXPECT_EQ(Shown(5), "12345");
    EXPECT_EQ(view.pumps, kFrames);
}

TEST_F(ConvertAnimationTest, FrameCountComesFromTheFirstOffset)
{
    Convert(Bytes{3, 0, 0, 0, 0xAA});
    EXPECT_TRUE(FilesIn(exeDir()).empty());
    EXPECT_EQ(view.pumps, 0);

    // First offset 10: two frames; bytes 8 and 9 are neither table nor frame.
    Bytes data{10, 0, 0, 0, 10, 0, 0, 0, 0xEE, 0xEE};
    const Bytes picture = PictureBytes::Full(1, 1, {{1, 4, 4, 4}}, {0x81});
    data.insert(data.end(), picture.begin(), picture.end());
    Convert(data);
    EXPECT_EQ(FilesIn(exeDir()), (std::vector<std::string>{"walk_0001.bmp", "walk_0002.bmp"}));
}

TEST_F(ConvertAnimationTest, MalformedTablesNeverReadPastTheDataOrSpin)
{
    // A first offset of 0xFFFFFFFF in 8 bytes: two table slots, both past the end.
    Convert(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x10, 0, 0, 0});
    EXPECT_EQ(view.pumps, 2);
    EXPECT_TRUE(FilesIn(exeDir()).empty());

    // Data shorter than 4 bytes has no frames.
    Convert(Bytes{8, 0});
    EXPECT_EQ(view.pumps, 2);

    // A frame whose offset lies past the end is skipped; the others are written.
    Bytes data = FiveFrames();
    data[8] = 0xFF;
    data[9] = 0xFF;
    data[10] = 0xFF;  // frame 3's offset
    Convert(data);
    EXPECT_EQ(FilesIn(exeDir()),
              (std::vector<std::string>{"walk_0001.bmp", "walk_0002.bmp", "walk_0004.bmp", "walk_0005.bmp"}));
}

TEST_F(ConvertAnimationTest, SettingLeavesAFrameOutClearsOrDrawsABaseFirst)
{
    UseSettings("[WALK.ANI]\nP3=3\np4=-1\np5=2\n");
    Convert(FiveFrames());
    EXPECT_EQ(Shown(2), "12---");
    EXPECT_EQ(Shown(3), "no file");
    EXPECT_EQ(Shown(4), "---4-");  // cleared first
    EXPECT_EQ(Shown(5), "-2-45");  // frame 2 drawn over frame 4's picture
    EXPECT_EQ(view.pumps, kFrames);
}

TEST_F(ConvertAnimationTest, BaseFrameOneStartsOnAClearedCanvas)
{
    UseSettings("[walk.ani]\np5=1\n");
    Convert(FiveFrames());
    EXPECT_EQ(Shown(4), "1234-");
    EXPECT_EQ(Shown(5), "1---5");
}

TEST_F(ConvertAnimationTest, BaseOfFrameOneIsDrawnButDoesNotShow)
{
    UseSettings("[walk.ani]\np1=3\n");
    Convert(FiveFrames());
    EXPECT_EQ(Shown(1), "1----");
    const std::string base = "output " + converter.outDir + "walk_0003.bmp";
    const std::string first = "output " + converter.outDir + "walk_0001.bmp";
    ASSERT_GE(view.calls.size(), 3u);
    EXPECT_EQ(view.calls[1], base);
    EXPECT_EQ(view.calls[2], first);
}

TEST_F(ConvertAnimationTest, OutOfRangeValuesActLikeNoSetting)
{
    UseSettings("[walk.ani]\np2=0\np3=-2\np4=6\np5=junk\n");
    Convert(FiveFrames());
    for (int k = 1; k <= kFrames; ++k)
        EXPECT_EQ(Shown(k), std::string("12345").substr(0, k) + std::string(kFrames - k, '-'));
}

TEST_F(ConvertAnimationTest, StopIsSeenBeforeEveryFrame)
{
    UseSettings("[walk.ani]\np2=2\n");
    view.onPump = [&](int pump) {
        if (pump == 4) stop.request_stop();
    };
    Convert(FiveFrames());
    EXPECT_EQ(FilesIn(exeDir()), (std::vector<std::string>{"walk_0001.bmp", "walk_0003.bmp"}));
    EXPECT_EQ(view.pumps, 4);
}

TEST_F(ConvertAnimationTest, StopWhileComposingOrEncodingOneFileWritesNone)
{
    // Five pumps before the frames, five while the file is encoded; stopped at any of
    // them, the animation leaves nothing.
    for (const auto& [mode, files] : {std::pair{AnimationOutput::Webp, std::vector<std::string>{"walk.webp"}},
                                      {AnimationOutput::Gif, {"walk.gif"}},
                                      {AnimationOutput::Sheet, {"walk_sheet.json", "walk_sheet.png"}}}) {
        converter.options.animation = mode;
        for (int stopAt = 1; stopAt <= 2 * kFrames + 1; ++stopAt) {
            SCOPED_TRACE(files[0] + " stopped at pump " + std::to_string(stopAt));
            std::filesystem::remove_all(exeDir());
            std::filesystem::create_directory(exeDir());
            NewStop();
            view.pumps = 0;
            view.onPump = [&](int pump) {
                if (pump == stopAt) stop.request_stop();
            };
            Convert(FiveFrames());
            EXPECT_EQ(FilesIn(exeDir()), stopAt > 2 * kFrames ? files : std::vector<std::string>{});
            EXPECT_EQ(view.pumps, std::min(stopAt, 2 * kFrames));
        }
    }
}

TEST_F(ConvertAnimationTest, StandAloneFileIsLookedUpUnderItsLowerCasedName)
{
    UseSettings("[walk.ani]\np2=2\n");
    Input("Walk.ANI", FiveFrames());
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_EQ(FilesIn(exeDir() / "walk"),
              (std::vector<std::string>{"walk_0001.bmp", "walk_0003.bmp", "walk_0004.bmp", "walk_0005.bmp"}));
}

TEST_F(ConvertAnimationTest, LongFileNamesUseTheirFirst15BytesForSectionAndOutputNames)
{
    UseSettings("[abcdefghijklmno]\np1=1\n");
    Input("abcdefghijklmnopq.ani", FiveFrames());
    converter.ConvertInputFile();
    const auto folder = exeDir() / "abcdefghijklmnopq";
    EXPECT_EQ(FilesIn(folder),
              (std::vector<std::string>{"abcdefghijklmno_0002.bmp", "abcdefghijklmno_0003.bmp",
                                        "abcdefghijklmno_0004.bmp", "abcdefghijklmno_0005.bmp"}));
}

TEST_F(ConvertAnimationTest, AnimationEntriesOfArchivesAreConvertedUnlessAskedRaw)
{
    const Bytes walk = FiveFrames();
    Input("data.dat", tools::BuildPack({{"walk.ani", walk}}));
    converter.ConvertInputFile();
    EXPECT_EQ(FilesIn(exeDir() / "data").size(), 5u);

    converter.options.aniRaw = true;
    Input("raw.dat", tools::BuildPack({{"walk.ani", walk}}));
    converter.ConvertInputFile();
    EXPECT_EQ(FilesIn(exeDir() / "raw"), std::vector<std::string>{"walk.ani"});
    EXPECT_EQ(ReadAll(exeDir() / "raw" / "walk.ani"), walk);
}
