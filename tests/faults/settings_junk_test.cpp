// Settings files of junk: read whole, junk lines have no effect, a real section after
// them still counts, and memory grows with the file instead of running away. A file
// too large for the memory the program may have ends with the memory error, not a crash.
#include <fstream>
#include <random>

#include "tools/ani_writer.h"
#include "fault_fixture.h"

namespace faults {
namespace {

constexpr std::size_t kJunkBytes = std::size_t{100} << 20;

// Memory for a run whose settings file is meant not to fit.
constexpr rlim_t kSmallMemoryLimit = rlim_t{128} << 20;

class SettingsJunkTest : public FaultTest {
protected:
    // Two frames of one pixel each: walk_0001.bmp and walk_0002.bmp without settings.
    std::string Animation() const
    {
        const Bytes frame = OnePixelPicture();
        return Input("walk.ani", orv::tools::BuildAnimation({frame, frame}));
    }

    // Writes a settings file piece by piece, so that the test itself stays small.
    template <typename Fill> std::string Settings(const std::string& name, Fill fill) const
    {
        const auto path = in() / name;
        std::ofstream file(path, std::ios::binary);
        fill(file);
        return path.string();
    }
};

TEST_F(SettingsJunkTest, JunkBeforeARealSectionIsReadThroughAndIgnored)
{
    const std::string settings = Settings("junk.ini", [](std::ofstream& file) {
        // Bytes 1 to 255 (a zero byte would end the text early): one random MiB, written
        // from a different place in it each time, so that its lines break differently.
        std::mt19937 random(11);
        std::string block(1 << 20, '\0');
        for (char& byte : block) byte = static_cast<char>(1 + random() % 255);
        for (std::size_t pass = 0; pass < kJunkBytes / block.size(); ++pass) {
            const std::size_t from = pass * 4099 % block.size();
            file.write(block.data() + from, static_cast<std::streamsize>(block.size() - from));
            file.write(block.data(), static_cast<std::streamsize>(from));
        }
        file << "\n[walk.ani]\np2=2\n";  // leaves frame 2 out
    });
    const auto result = Convert({"-s", settings, Animation()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, kFinished);
    EXPECT_EQ(FilesIn(root() / "walk"), std::vector<std::string>{"walk_0001.bmp"});
    if (!kSanitized) {
        EXPECT_LT(static_cast<std::size_t>(result.peakKb) * 1024, 3 * kJunkBytes);
    }
}

TEST_F(SettingsJunkTest, AFileTooLargeForTheMemoryAllowedIsTheMemoryError)
{
    if (kSanitized) GTEST_SKIP() << "the sanitizer ends the process itself when operator new fails";
    // Every line a key of the one section: the bytes alone take most of the space allowed.
    const std::string settings = Settings("keys.ini", [](std::ofstream& file) {
        const std::string block = [] {
            std::string lines;
            for (int i = 0; i < 4096; ++i) lines += "p=1\n";
            return lines;
        }();
        file << "[walk.ani]\n";
        while (static_cast<rlim_t>(file.tellp()) < kSmallMemoryLimit * 3 / 4) file << block;
    });
    const auto result = Convert({"-s", settings, Animation()}, {{}, {}, kSmallMemoryLimit});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, kMemoryError);
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(std::filesystem::exists(root() / "walk"));
}

}  // namespace
}  // namespace faults
