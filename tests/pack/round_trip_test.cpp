// orvconv-cli -> orvpack -> orvconv-cli gives back the same files, and --base keeps the
// original archive's entries.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "animation_bytes.h"
#include "orvpack_fixture.h"
#include "picture_bytes.h"
#include "random_archive.h"
#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "tools/sound_writer.h"

using orv::tools::Bytes;
using orv::tools::CgPicture;

namespace {

CgPicture Stripes(int width, int height, int colours, int shift)
{
    CgPicture picture;
    picture.width = static_cast<std::uint16_t>(width);
    picture.height = static_cast<std::uint16_t>(height);
    for (int c = 0; c < 128; ++c) {
        picture.palette[static_cast<std::size_t>(c) * 3] = static_cast<std::uint8_t>(c * 2);
        picture.palette[static_cast<std::size_t>(c) * 3 + 1] = static_cast<std::uint8_t>(200 - c);
        picture.palette[static_cast<std::size_t>(c) * 3 + 2] = static_cast<std::uint8_t>(c * 5);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back(static_cast<std::uint8_t>((x / 3 + y + shift) % colours));
    }
    return picture;
}

// Every kind of entry: full and rectangle pictures, an animation whose later frames are
// rectangles, the three sound formats, raw entries, names in CP932 and names orvconv-cli
// shows with escapes.
Bytes EveryKind()
{
    const CgPicture first = Stripes(24, 16, 9, 0);
    CgPicture second = Stripes(24, 16, 9, 4);
    second.type = 2;
    second.left = 3;
    second.top = 2;
    second.right = 20;
    second.bottom = 9;
    const Bytes canvas = orv::tools::DrawnCanvas(first);
    CgPicture third = Stripes(24, 16, 9, 7);
    const Bytes animation
        = orv::tools::BuildAnimation({orv::tools::EncodeCg(first), orv::tools::EncodeCg(second, canvas),
                                      orv::tools::EncodeCg(third, orv::tools::DrawnCanvas(second, canvas))});
    const std::vector<std::int16_t> samples{1, -2, 300, -400, 5000, -6000};
    return orv::tools::BuildPack({
        {"title.cg", orv::tools::EncodeCg(Stripes(37, 21, 128, 0))},
        {"part.cg", orv::tools::EncodeCg(second)},
        {"walk.ani", animation},
        {"mono.pcm", orv::tools::BuildSoundEntry(6, samples)},
        {"wide.pcm", orv::tools::BuildSoundEntry(7, samples)},
        {"hi.pcm", orv::tools::BuildSoundEntry(10, samples)},
        {"notes.txt", orv::tools::BytesOf("raw bytes\n")},
        {"\x83\x5e\x83\x43\x83\x67\x83\x8b.txt", orv::tools::BytesOf("CP932 name")},
        {"a\x01"
         "b\x80.bin",
         orv::tools::BytesOf("escaped name")},
        {"100%41.txt", orv::tools::BytesOf("a percent sign that is no escape")},
        {"%01.txt", orv::tools::BytesOf("a name that looks like an escape")},
        {"\x01.txt", orv::tools::BytesOf("a control byte that is escaped")},
    });
}

}  // namespace

TEST_F(OrvpackTest, ConvertingThePackedFolderGivesBackTheSameFiles)
{
    const std::string sample = std::string(ORVCONV_SAMPLE_DIR) + "/sample.dat";
    const std::string generated = Write("every.dat", EveryKind());
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {sample, {}}, {sample, {"-f", "png"}}, {generated, {}}, {generated, {"-f", "png"}}, {generated, {"--ani-raw"}}};
    int round = 0;
    for (const auto& [archive, args] : cases) {
        SCOPED_TRACE(archive + (args.empty() ? "" : " " + args.back()));
        const std::string tag = std::to_string(round++);
        const std::filesystem::path first = Convert(archive, "first" + tag, args);
        std::filesystem::create_directory(dir.path() / ("packed" + tag));
        const std::string packed = (dir.path() / ("packed" + tag) / std::filesystem::path(archive).filename()).string();
        const Process::Result result = Pack({"-q", "-o", packed, first.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        const std::filesystem::path second = Convert(packed, "second" + tag, args);
        EXPECT_EQ(Tree(second), Tree(first));
    }
}

TEST_F(OrvpackTest, AnUntouchedFolderWithItsBaseGivesTheOriginalArchive)
{
    for (const std::string& archive :
         {std::string(ORVCONV_SAMPLE_DIR) + "/sample.dat", Write("every.dat", EveryKind())}) {
        for (const std::string format : {"bmp", "png"}) {
            SCOPED_TRACE(archive + " " + format);
            const std::filesystem::path folder = Convert(archive, "out-" + format, {"-f", format});
            const std::string packed = (dir.path() / "again.dat").string();
            const Process::Result result = Pack({"--base", archive, "-o", packed, folder.string()});
            ASSERT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(ReadAll(packed), ReadAll(archive));
        }
    }
}

// Frames larger than the frame before them show what earlier entries left in the canvas
// block; the folder holds those pixels, and --base reads the original in memory as
// conversion does, with no temporary files (TMPDIR names no folder).
TEST_F(OrvpackTest, AnUntouchedFolderGivesTheOriginalWhereFramesShowEarlierEntries)
{
    std::vector<std::pair<std::string, Bytes>> archives;
    const Bytes frame1 = PictureBytes::Full(1, 1, {{0, 0xA0, 0xB0, 0xC0}}, {0x80});
    const Bytes frame2 = PictureBytes::Rect(4, 4, 0, 0, 1, 1, {{0, 0x01, 0x02, 0x03}}, {0x80});
    archives.emplace_back(
        "carry.dat",
        orv::tools::BuildPack({{"big.cg", PictureBytes::Full(4, 4, {{0, 9, 8, 7}}, {0x80, 0x1F, 0x80})},
                               {"walk.ani", AnimationOf({frame1, frame2})}}));
    for (unsigned seed = 1; seed <= 16; ++seed) {
        RandomArchive random(seed);
        std::string settings;
        archives.emplace_back("random" + std::to_string(seed) + ".dat",
                              random.Archive(random.Int(1, 24), 12, settings));
    }
    for (const auto& [name, bytes] : archives) {
        const std::string format = name.size() % 2 == 0 ? "png" : "bmp";
        SCOPED_TRACE(name + " " + format);
        const std::string archive = Write(name, bytes);
        const std::filesystem::path folder = Convert(archive, "out-" + name, {"-f", format});
        const std::string packed = (dir.path() / "again.dat").string();
        Process process(ORVPACK_PATH, {"--base", archive, "-o", packed, folder.string()}, dir.path(), {},
                        [] { return ::setenv("TMPDIR", "/nonexistent/orvpack-tmp", 1); });
        const Process::Result result = process.Wait(std::chrono::seconds(120));
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ReadAll(packed), bytes);
    }
}

TEST_F(OrvpackTest, OneChangedPictureChangesExactlyItsEntry)
{
    const std::string archive = Write("every.dat", EveryKind());
    const std::filesystem::path folder = Convert(archive, "out");
    // The first pixel of the bottom row takes the colour of the fourth, the next stripe's.
    Bytes picture = ReadAll(folder / "title.bmp");
    ASSERT_FALSE(std::equal(picture.begin() + 54, picture.begin() + 57, picture.begin() + 63));
    std::copy_n(picture.begin() + 63, 3, picture.begin() + 54);
    Write("out/every/title.bmp", picture);
    std::filesystem::remove(folder / "notes.txt");  // absent files keep their entries
    Write("out/every/extra.txt", orv::tools::BytesOf("new"));

    const std::string packed = (dir.path() / "changed.dat").string();
    const Process::Result result = Pack({"--base", archive, "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("extra.txt"), std::string::npos);

    const std::vector<TableEntry> before = EntriesOf(ReadAll(archive));
    const std::vector<TableEntry> after = EntriesOf(ReadAll(packed));
    ASSERT_EQ(after.size(), before.size() + 1);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].name, before[i].name);
        EXPECT_EQ(after[i].bytes == before[i].bytes, before[i].name != "title.cg") << before[i].name;
    }
    EXPECT_EQ(after.back().name, "extra.txt");
    EXPECT_EQ(after.back().bytes, orv::tools::BytesOf("new"));
    EXPECT_EQ(ReadAll(Convert(packed, "again") / "title.bmp"), picture);
}

// Names typed by hand: "%25" stands for "%", any other "%XX" for byte XX, and a "%" of a
// name whose escape would not read back is kept as typed. The stored names are read from
// the archive's table.
TEST_F(OrvpackTest, PercentEscapesInFileNamesGiveTheBytesTheyStandFor)
{
    const std::filesystem::path folder = dir.path() / "typed";
    std::filesystem::create_directory(folder);
    for (const std::string name : {"%2501.txt", "%01.txt", "100%41.txt"})
        Write("typed/" + name, orv::tools::BytesOf(name));
    const std::string packed = (dir.path() / "typed.dat").string();
    const Process::Result result = Pack({"-q", "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    std::set<std::string> stored;
    for (const TableEntry& entry : EntriesOf(ReadAll(packed))) stored.insert(entry.name);
    EXPECT_EQ(stored, (std::set<std::string>{"%01.txt", "\x01.txt", "100%41.txt"}));
}
