// Entry names that would lead out of the output folder end the run with the file-open
// error, whatever kind of file the entry would become, and nothing is written outside
// the output folder.
#include "tools/ani_writer.h"
#include "fault_fixture.h"
#include "tools/sound_writer.h"

namespace faults {
namespace {

using orv::tools::BytesOf;

struct EscapeCase {
    std::string entry;
    Bytes bytes;
    std::vector<std::string> options;
    std::string refused;  // the output path the entry asks for, inside evil/
};

TEST_F(FaultTest, NamesLeavingTheOutputFolderAreRefusedForEveryKindOfEntry)
{
    const Bytes picture = OnePixelPicture();
    const Bytes sound = orv::tools::BuildSoundEntry(orv::kSoundMono22050, {1, 2, 3});
    const std::vector<EscapeCase> cases{
        {"../up.txt", BytesOf("raw"), {}, "../up.txt"},
        {"../up.cg", picture, {}, "../up.bmp"},
        {"../up.cg", picture, {"-f", "png"}, "../up.png"},
        {"../up.pcm", sound, {}, "../up.wav"},
        {"../up.ani", orv::tools::BuildAnimation({picture}), {}, "../up_0001.bmp"},
        {"../up.ani", orv::tools::BuildAnimation({picture}), {"--ani-raw"}, "../up.ani"},
        {"..", BytesOf("raw"), {}, ".."},
        {"/tmp/abs.txt", BytesOf("raw"), {}, "/tmp/abs.txt"},
        {"..\\up.txt", BytesOf("raw"), {}, "..\\up.txt"},
        {"", BytesOf("raw"), {}, ""},
    };
    for (const EscapeCase& c : cases) {
        SCOPED_TRACE(c.entry + " " + ::testing::PrintToString(c.options));
        std::vector<std::string> args = c.options;
        args.push_back(Input("evil.dat", orv::tools::BuildPack({{"ok.txt", BytesOf("ok")}, {c.entry, c.bytes}})));
        const auto result = Convert(args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, OpenError(Out("evil", c.refused)));
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(FilesIn(root() / "evil"), std::vector<std::string>{"ok.txt"});
        EXPECT_EQ(WrittenOutside({"evil"}), std::vector<std::string>{});
        std::filesystem::remove_all(root() / "evil");
    }
}

}  // namespace
}  // namespace faults
