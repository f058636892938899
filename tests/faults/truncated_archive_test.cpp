// A small archive holding every kind of entry, cut at every offset: each cut converts
// with the finished message and the status of an input cut short, its path named on
// stderr (nothing at all for a file too short to be an archive), or ends with exit code
// 1 and a fatal text naming a file in its own output folder; only the whole archive
// ends with 0 and no word. Nothing is written anywhere else, and listing the cuts
// writes nothing at all, marking the records the file ends before.
#include <set>

#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "fault_fixture.h"
#include "tools/sound_writer.h"

namespace faults {
namespace {

using orv::tools::BytesOf;

// Runs going at once: the machine's cores are kept busy while one run starts up.
constexpr std::size_t kRunsAtOnce = 4;

// Records of a sound, a text, an animation and a picture, their bytes in that order;
// the picture entry is the frame inside the animation, so the archive stays small.
// With the sound first, a cut past its four header bytes leaves no fatal entry.
Bytes SmallArchive()
{
    orv::tools::CgPicture picture;
    picture.width = picture.right = 3;
    picture.height = picture.bottom = 2;
    picture.palette[3] = 0x40;
    picture.pixels = {0, 1, 1, 1, 1, 0};
    const Bytes sound = orv::tools::BuildSoundEntry(orv::kSoundMono22050, {-2, 5, 9});
    const Bytes text = BytesOf("text");
    const Bytes animation = orv::tools::BuildAnimation({orv::tools::EncodeCg(picture)});

    const auto size = [](const Bytes& bytes) { return static_cast<std::uint32_t>(bytes.size()); };
    const std::uint32_t soundAt = 6 + 4 * 24;
    const std::uint32_t textAt = soundAt + size(sound);
    const std::uint32_t animationAt = textAt + size(text);
    Bytes archive = orv::tools::PackHeader(4);
    orv::tools::AppendRecord(archive, "beep.pcm", soundAt, size(sound));
    orv::tools::AppendRecord(archive, "note.txt", textAt, size(text));
    orv::tools::AppendRecord(archive, "walk.ani", animationAt, size(animation));
    orv::tools::AppendRecord(archive, "frame.cg", animationAt + 4, size(animation) - 4);
    for (const Bytes* entry : {&sound, &text, &animation}) archive.insert(archive.end(), entry->begin(), entry->end());
    return archive;
}

TEST_F(FaultTest, ArchivesCutAtEveryOffsetEndCleanly)
{
    const Bytes archive = SmallArchive();
    std::vector<std::string> folders;
    std::vector<std::pair<std::size_t, Process>> running;
    const auto check = [&](std::size_t cut, Process& process) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const Process::Result result = Finish(process);
        const std::string folder = root().string() + "/cut" + std::to_string(cut) + "/";
        const std::string input = (in() / ("cut" + std::to_string(cut) + ".dat")).string();
        if (cut < 4) {
            // Not even "pack": no archive at all.
            EXPECT_EQ(result.exitCode, 4);
            EXPECT_EQ(result.err, PassedOverLine(input, kNotAPackArchive));
        } else if (cut == archive.size()) {
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.out, kFinished);
            EXPECT_EQ(result.err, "");
        } else if (result.exitCode == kExitPastEnd) {
            EXPECT_EQ(result.out, kFinished);
            EXPECT_EQ(result.err, PastEndLine(input));
        } else {
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(result.out, "");
            const bool named = result.err.starts_with("orvconv-cli: ファイルオープンエラー！\n" + folder)
                || result.err.starts_with("orvconv-cli: 未知の形式です！\n" + folder);
            EXPECT_TRUE(named) << result.err;
        }
    };
    for (std::size_t cut = 0; cut <= archive.size(); ++cut) {
        const std::string name = "cut" + std::to_string(cut);
        folders.push_back(name);
        const std::string input
            = Input(name + ".dat", Bytes(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(cut)));
        std::filesystem::create_directories(captures() / name);
        running.emplace_back(cut, Start({input}, {}, captures() / name));
        if (running.size() == kRunsAtOnce) {
            for (auto& [at, process] : running) check(at, process);
            running.clear();
        }
    }
    for (auto& [at, process] : running) check(at, process);
    EXPECT_EQ(WrittenOutside(folders), std::vector<std::string>{});
    // The whole archive converts completely.
    EXPECT_EQ(FilesIn(root() / folders.back()),
              (std::vector<std::string>{"beep.wav", "frame.bmp", "note.txt", "walk_0001.bmp"}));

    // Listing every cut reads each as far as it goes and writes nothing.
    std::filesystem::remove_all(root());
    std::vector<std::string> listed{"--list"};
    for (const std::string& name : folders) listed.push_back((in() / (name + ".dat")).string());
    const auto listing = Convert(listed);
    EXPECT_EQ(listing.exitCode, kExitPastEnd) << listing.err;
    // One line for every cut but the whole archive: cut short, or below 4 bytes passed over.
    EXPECT_EQ(std::count(listing.err.begin(), listing.err.end(), '\n'), archive.size());
    EXPECT_FALSE(std::filesystem::exists(root()));
}

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, next = 0; (next = text.find('\n', at)) != std::string::npos; at = next + 1)
        lines.push_back(text.substr(at, next - at));
    return lines;
}

TEST_F(FaultTest, ListingMarksTheRecordsACutArchiveEndsBefore)
{
    const Bytes archive = SmallArchive();
    const auto cut
        = [&](std::size_t size) { return Bytes(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(size)); };
    // The last two records reach to the end of the file; cut one byte short, only they
    // are marked.
    const std::string lastByte = Input("last.dat", cut(archive.size() - 1));
    const auto last = Convert({"--list", lastByte});
    EXPECT_EQ(last.exitCode, kExitPastEnd);
    EXPECT_EQ(last.err, PastEndLine(lastByte));
    const std::vector<std::string> lastLines = LinesOf(last.out);
    ASSERT_EQ(lastLines.size(), 4u) << last.out;
    EXPECT_TRUE(lastLines[0].ends_with("\tsound")) << lastLines[0];
    EXPECT_TRUE(lastLines[1].ends_with("\tother")) << lastLines[1];
    EXPECT_TRUE(lastLines[2].starts_with("2\twalk.ani\t") && lastLines[2].ends_with("\tanimation\tpast-end"));
    EXPECT_TRUE(lastLines[3].starts_with("3\tframe.cg\t") && lastLines[3].ends_with("\timage\tpast-end"));

    // Cut where the third record starts: the first two claim bytes the file lacks, and
    // the last two are zeros it lacks.
    const std::string inTable = Input("table.dat", cut(6 + 2 * 24));
    const auto table = Convert({"--list", inTable});
    EXPECT_EQ(table.exitCode, kExitPastEnd);
    EXPECT_EQ(table.err, PastEndLine(inTable));
    const std::vector<std::string> tableLines = LinesOf(table.out);
    ASSERT_EQ(tableLines.size(), 4u) << table.out;
    EXPECT_TRUE(tableLines[0].starts_with("0\tbeep.pcm\t") && tableLines[0].ends_with("\tsound\tpast-end"));
    EXPECT_TRUE(tableLines[1].starts_with("1\tnote.txt\t") && tableLines[1].ends_with("\tother\tpast-end"));
    EXPECT_EQ(tableLines[2], "2\t\t0\t0\tother\tpast-end");
    EXPECT_EQ(tableLines[3], "3\t\t0\t0\tother\tpast-end");

    // Whole, nothing is marked.
    const auto whole = Convert({"--list", Input("whole.dat", archive)});
    EXPECT_EQ(whole.exitCode, 0);
    EXPECT_EQ(whole.err, "");
    EXPECT_EQ(whole.out.find("past-end"), std::string::npos);
}

TEST_F(FaultTest, AnimationFilesCutShortAreToldAsArchivesAre)
{
    // Three frames; the last starts at lastAt. A cut before it loses a frame the table
    // lists; a cut within it leaves no trace, since nothing tells where the last frame ends.
    orv::tools::CgPicture picture;
    picture.width = picture.right = 2;
    picture.height = picture.bottom = 2;
    picture.pixels = {0, 1, 1, 0};
    const Bytes frame = orv::tools::EncodeCg(picture);
    const Bytes animation = orv::tools::BuildAnimation({frame, frame, frame});
    const std::size_t lastAt = 3 * 4 + 2 * frame.size();
    // Every cut within the table, and either side of where each frame starts and ends.
    std::set<std::size_t> cuts;
    for (std::size_t cut = 0; cut <= 13; ++cut) cuts.insert(cut);
    for (const std::size_t at : {12 + frame.size(), lastAt, animation.size()})
        cuts.insert({at - 1, at, std::min(at + 1, animation.size())});
    for (const std::size_t cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const std::string name = "walk" + std::to_string(cut);
        const std::string input
            = Input(name + ".ani", Bytes(animation.begin(), animation.begin() + static_cast<std::ptrdiff_t>(cut)));
        const auto converted = Convert({input});
        const auto listed = Convert({"--list", input});
        if (cut <= lastAt) {
            EXPECT_EQ(converted.exitCode, kExitPastEnd) << converted.err;
            EXPECT_EQ(converted.err, PastEndLine(input));
            EXPECT_EQ(listed.exitCode, kExitPastEnd);
            EXPECT_EQ(listed.err, PastEndLine(input));
        } else {
            EXPECT_EQ(converted.exitCode, 0) << converted.err;
            EXPECT_EQ(converted.err, "");
            EXPECT_EQ(listed.exitCode, 0);
        }
        EXPECT_EQ(converted.out, kFinished);
    }
    const std::string whole = "walk" + std::to_string(animation.size());
    EXPECT_EQ(FilesIn(root() / whole),
              (std::vector<std::string>{whole + "_0001.bmp", whole + "_0002.bmp", whole + "_0003.bmp"}));
}

}  // namespace
}  // namespace faults
