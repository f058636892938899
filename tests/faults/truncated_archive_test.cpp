// A small archive holding every kind of entry, cut at every offset: each cut ends with
// exit code 0 and the finished message (or nothing, for a file too short to be an
// archive), or with exit code 1 and a fatal text naming a file in its own output
// folder. Nothing is written anywhere else, and listing the cuts writes nothing at all.
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
        if (cut < 4) {
            // Not even "pack": no archive at all.
            EXPECT_EQ(result.exitCode, 4);
            EXPECT_EQ(result.err,
                      PassedOverLine((in() / ("cut" + std::to_string(cut) + ".dat")).string(), kNotAPackArchive));
        } else if (result.exitCode == 0) {
            EXPECT_EQ(result.out, kFinished);
            EXPECT_EQ(result.err, "");
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
    EXPECT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_FALSE(std::filesystem::exists(root()));
}

}  // namespace
}  // namespace faults
