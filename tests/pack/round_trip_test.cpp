// orvconv-cli -> orvpack -> orvconv-cli gives back the same files, and --base keeps the
// original archive's entries.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "build_paths.h"
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
    const std::string sample = std::string(build_paths::kSampleDir) + "/sample.dat";
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
         {std::string(build_paths::kSampleDir) + "/sample.dat", Write("every.dat", EveryKind())}) {
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
        Process process(build_paths::kOrvpack, {"--base", archive, "-o", packed, folder.string()}, dir.path(), {},
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

// Whatever archive orvconv-cli converted, in any output mode, orvpack packs the folder
// without the original and converting that gives back the same tree: random archives with
// entries whose names leave orvpack a choice (kinds told by a name's end without a dot,
// names of 16 bytes, raw entries named like pictures and sounds, raw frames).
TEST_F(OrvpackTest, EveryFolderOfAGeneratedArchiveGoesBackWithoutItsBase)
{
    const std::vector<std::vector<std::string>> modes{{}, {"-f", "png"}, {"--ani-raw"}};
    for (unsigned seed = 1; seed <= 24; ++seed) {
        RandomArchive random(seed);
        std::string settings;
        std::vector<orv::tools::PackItem> items{
            {"abcdefghijklmpcm", random.Sound()},
            {"abcdefghijklmani", AnimationOf({random.Picture(8), random.Frame(8), random.Frame(8)})},
            {"abcdefghijklm.cg", random.Picture(8)},
            {"noise.bmp", {random.Byte(), random.Byte()}},
            {"noise.wav", orv::tools::BytesOf("RIFF but no sound")},
            {"twin.bmp", {random.Byte()}},
            {"twin.png", {random.Byte(), random.Byte()}},
        };
        // Frame 1 is a picture: a raw frame 1 is copied with every frame after it, which
        // only the original's bytes reproduce (--base keeps them).
        for (int i = 0; i < 6; ++i) {
            std::vector<Bytes> frames{random.Picture(8)};
            for (int k = random.Int(0, 4); k > 0; --k) frames.push_back(random.Frame(8));
            items.push_back({"w" + std::to_string(i) + ".ani", AnimationOf(frames)});
        }
        const std::string name = "gen" + std::to_string(seed) + ".dat";
        const std::string archive = Write(name, orv::tools::BuildPack(items));
        const std::vector<std::string>& mode = modes[seed % modes.size()];
        SCOPED_TRACE(name + (mode.empty() ? "" : " " + mode.back()));
        const std::string tag = std::to_string(seed);
        const std::filesystem::path first = Convert(archive, "first" + tag, mode);
        std::filesystem::create_directory(dir.path() / ("packed" + tag));
        const std::string packed = (dir.path() / ("packed" + tag) / name).string();
        const Process::Result result = Pack({"-o", packed, first.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, "second" + tag, mode)), Tree(first)), std::vector<std::string>{});
    }
}

// A record whose offset lies past the end of the file converts as an empty entry; an
// edit elsewhere keeps it, and converting gives back the edited folder.
TEST_F(OrvpackTest, ARecordPastTheEndStaysThroughAnEdit)
{
    // Converting such an archive ends with the status of a file cut short.
    constexpr int kPastEnd = 5;
    Bytes bytes = orv::tools::BuildPack({{"gone.bin", orv::tools::BytesOf("xyz")},
                                         {"title.cg", orv::tools::EncodeCg(Stripes(8, 4, 3, 0))},
                                         {"late.cg", orv::tools::EncodeCg(Stripes(8, 4, 3, 1))}});
    for (const std::size_t record : {6u, 6u + 48u}) {
        bytes[record + 16] = 0xF0;  // offset 0xF0xxxxxx
        bytes[record + 19] = 0xF0;
    }
    const std::string archive = Write("past.dat", bytes);
    const std::filesystem::path folder = Convert(archive, "out", {}, kPastEnd);
    Bytes picture = ReadAll(folder / "title.bmp");
    ASSERT_GT(picture.size(), 60u);
    ASSERT_FALSE(std::equal(picture.begin() + 54, picture.begin() + 57, picture.begin() + 63));
    std::copy_n(picture.begin() + 63, 3, picture.begin() + 54);
    Write("out/past/title.bmp", picture);

    const std::string packed = (dir.path() / "edited.dat").string();
    const Process::Result result = Pack({"--base", archive, "-o", packed, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Differing(Tree(Convert(packed, "again")), Tree(folder)), std::vector<std::string>{});
}

// What orvpack tells: the file that was edited (frame 2 when frame 2 was), nothing of
// changes before a refusal, no archive packed into itself, and an empty folder.
TEST_F(OrvpackTest, NotesTellWhatHappened)
{
    const std::string archive = Write("every.dat", EveryKind());
    const std::filesystem::path folder = Convert(archive, "out");
    Bytes frame = ReadAll(folder / "walk_0002.bmp");
    std::copy_n(frame.begin() + 63, 3, frame.begin() + 54);
    Write("out/every/walk_0002.bmp", frame);
    const std::string packed = (dir.path() / "edited.dat").string();
    const Process::Result edited = Pack({"--base", archive, "-o", packed, folder.string()});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_NE(edited.err.find("changed: walk.ani (from " + (folder / "walk_0002.bmp").string() + ")"),
              std::string::npos)
        << edited.err;

    Write("out/every/a name far too long.txt", orv::tools::BytesOf("x"));
    const Process::Result refused = Pack({"--base", archive, "-o", packed, folder.string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err.find("changed:"), std::string::npos) << refused.err;
    std::filesystem::remove(folder / "a name far too long.txt");

    const std::string inside = (folder / "again.dat").string();
    for (int run = 0; run < 2; ++run) {
        const Process::Result result = Pack({"-q", "-o", inside, folder.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }
    for (const TableEntry& entry : EntriesOf(ReadAll(inside))) EXPECT_NE(entry.name, "again.dat");

    std::filesystem::create_directory(dir.path() / "nothing");
    const Process::Result empty
        = Pack({"-o", (dir.path() / "nothing.dat").string(), (dir.path() / "nothing").string()});
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_NE(empty.err.find("no files to pack"), std::string::npos) << empty.err;
}

// An animation file goes back as an animation file: with its base (untouched: the same
// bytes; a frame edited: that frame), and from its frames alone; a folder of more than
// one entry cannot be one.
TEST_F(OrvpackTest, AnAnimationFileGoesBackAsAnAnimationFile)
{
    const CgPicture first = Stripes(12, 8, 6, 0);
    const Bytes walk = orv::tools::BuildAnimation(
        {orv::tools::EncodeCg(first), {5, 1, 2, 3}, orv::tools::EncodeCg(Stripes(12, 8, 6, 2))});
    const std::string original = Write("walk.ani", walk);
    const std::filesystem::path folder = Convert(original, "out");
    ASSERT_TRUE(std::filesystem::exists(folder / "walk.ani_0002"));
    for (const std::string sub : {"same", "edited", "alone", "mixed"})
        std::filesystem::create_directory(dir.path() / sub);

    const std::string same = (dir.path() / "same" / "walk.ani").string();
    ASSERT_EQ(Pack({"--base", original, "-o", same, folder.string()}).exitCode, 0);
    EXPECT_EQ(ReadAll(same), walk);

    Bytes frame = ReadAll(folder / "walk_0003.bmp");
    std::copy_n(frame.begin() + 63, 3, frame.begin() + 54);
    Write("out/walk/walk_0003.bmp", frame);
    const std::string edited = (dir.path() / "edited" / "walk.ani").string();
    const Process::Result result = Pack({"--base", original, "-o", edited, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Differing(Tree(Convert(edited, "again")), Tree(folder)), std::vector<std::string>{});

    const std::string alone = (dir.path() / "alone" / "walk.ani").string();
    ASSERT_EQ(Pack({"-o", alone, folder.string()}).exitCode, 0);
    EXPECT_EQ(Differing(Tree(Convert(alone, "again2")), Tree(folder)), std::vector<std::string>{});

    Write("out/walk/notes.txt", orv::tools::BytesOf("x"));
    const Process::Result mixed = Pack({"-o", (dir.path() / "mixed" / "walk.ani").string(), folder.string()});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_NE(mixed.err.find("an animation file holds the frames of one animation"), std::string::npos) << mixed.err;
}

// Entries are encoded on several threads and written in order: the archive and the notes
// are the same for any number of them.
TEST_F(OrvpackTest, AnyNumberOfThreadsWritesTheSameArchive)
{
    RandomArchive random(7);
    std::string settings;
    const std::filesystem::path folder = Convert(Write("many.dat", random.Archive(40, 16, settings)), "out");
    for (int i = 0; i < 3; ++i)
        Write("out/many/" + std::to_string(i) + "-noisy.bmp", BmpFile(30, 20, [i](int x, int y) {
                  return static_cast<std::uint32_t>((x * 7 + y * 13 + i) * 0x010305);
              }));
    std::vector<Bytes> archives;
    std::vector<std::string> notes;
    for (const std::string jobs : {"1", "2", "5"}) {
        const std::string packed = (dir.path() / ("j" + jobs + ".dat")).string();
        const Process::Result result = Pack({"--quantize", "-j", jobs, "-o", packed, folder.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        archives.push_back(ReadAll(packed));
        notes.push_back(result.err);
    }
    EXPECT_NE(notes[0].find("reduced to"), std::string::npos) << notes[0];
    for (std::size_t k = 1; k < archives.size(); ++k) {
        EXPECT_EQ(archives[k], archives[0]);
        EXPECT_EQ(notes[k], notes[0]);
    }
}

// A picture edited before an animation whose frames show what it left in the canvas: the
// animation is made anew so that its frames stay, or, where the folder holds it whole
// (--ani-raw), kept as it is.
TEST_F(OrvpackTest, AnEditBeforeAnAnimationKeepsItsFrames)
{
    const Bytes frame1 = PictureBytes::Full(1, 1, {{0, 0xA0, 0xB0, 0xC0}}, {0x80});
    const Bytes frame2 = PictureBytes::Rect(4, 4, 0, 0, 1, 1, {{0, 0x01, 0x02, 0x03}}, {0x80});
    const std::string archive
        = Write("carry.dat",
                orv::tools::BuildPack({{"big.cg", PictureBytes::Full(4, 4, {{0, 9, 8, 7}}, {0x80, 0x1F, 0x80})},
                                       {"walk.ani", AnimationOf({frame1, frame2})}}));
    for (const std::vector<std::string>& mode : {std::vector<std::string>{}, std::vector<std::string>{"--ani-raw"}}) {
        SCOPED_TRACE(mode.empty() ? "frames" : "raw");
        const std::string tag = mode.empty() ? "f" : "r";
        const std::filesystem::path folder = Convert(archive, "out" + tag, mode);
        Bytes big = ReadAll(folder / "big.bmp");
        ASSERT_GT(big.size(), 57u);
        big[54] ^= 0x55;
        Write("out" + tag + "/carry/big.bmp", big);
        const std::string packed = (dir.path() / ("packed" + tag + ".dat")).string();
        const Process::Result result = Pack({"--base", archive, "-o", packed, folder.string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        std::filesystem::rename(packed, dir.path() / "carry.dat.packed");
        const std::string again = (dir.path() / ("again" + tag) / "carry.dat").string();
        std::filesystem::create_directories(std::filesystem::path(again).parent_path());
        std::filesystem::rename(dir.path() / "carry.dat.packed", again);
        EXPECT_EQ(Differing(Tree(Convert(again, "conv" + tag, mode)), Tree(folder)), std::vector<std::string>{});
    }
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

// Entries whose name or kind a reader of the folder would guess otherwise: counted on one
// line, named one a line with -v, and converted back to the same files either way.
TEST_F(OrvpackTest, EntriesNamedOtherwiseThanTheirFilesSuggestAreCountedOrNamed)
{
    const std::filesystem::path folder = dir.path() / "folder";
    std::filesystem::create_directory(folder);
    Write("folder/notes.bmp", orv::tools::BytesOf("not a picture"));
    Write("folder/voice.wav", orv::tools::BytesOf("not a sound"));
    Write("folder/plain.txt", orv::tools::BytesOf("text"));
    for (const bool verbose : {false, true}) {
        SCOPED_TRACE(verbose ? "-v" : "without -v");
        const std::string packed = (dir.path() / (verbose ? "v.dat" : "plain.dat")).string();
        std::vector<std::string> args{"-o", packed, folder.string()};
        if (verbose) args.insert(args.begin(), "-v");
        const Process::Result result = Pack(args);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const std::string count = "orvpack: 2 entries take another name or kind than their files' name suggests";
        EXPECT_NE(result.err.find(count), std::string::npos) << result.err;
        const bool named = result.err.find("notes.bmp: the raw entry notes.bmp") != std::string::npos
            && result.err.find("voice.wav: the raw entry voice.wav") != std::string::npos;
        EXPECT_EQ(named, verbose) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), verbose ? 3 : 1) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, verbose ? "v" : "plain")), Tree(folder)), std::vector<std::string>{});
    }
}
