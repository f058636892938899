// As a modder chains the programs: orvconv-cli converts an archive, one file changes,
// orvpack --base packs the folder, and converting that archive gives back the folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "bmp_header.h"
#include "orvpack_fixture.h"
#include "random_archive.h"

using orv::tools::Bytes;

namespace {

// The files conversion writes for animation frames: pictures NAME_0001.bmp, raw copies
// NAME.ani_0002. An animation whose frame 1 is raw is left out: that frame's copy runs
// over all the others, so any edit of them changes it too.
std::vector<std::filesystem::path> FrameFiles(const std::filesystem::path& folder)
{
    static const std::regex frame(R"((.*)_[0-9]{4,}\.bmp|(.*\.ani)_[0-9]{4,})");
    std::vector<std::filesystem::path> files;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        std::smatch parts;
        const std::string name = item.path().filename().string();
        if (!std::regex_match(name, parts, frame)) continue;
        const std::string entry = parts[1].matched ? parts[1].str() + ".ani" : parts[2].str();
        if (!std::filesystem::exists(folder / (entry + "_0001"))) files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A 24-bit BMP whose first stored pixel takes the colour of another of its pixels, so that
// it holds no new colour; false when all its pixels are alike.
bool RecolourOnePixel(Bytes& bmp)
{
    const BmpHeader header = ParseBmpHeader(bmp);
    if (header.bitCount != 24 || header.width <= 0 || header.height == 0) return false;
    const std::size_t stride = (static_cast<std::size_t>(header.width) * 3 + 3) / 4 * 4;
    const std::size_t rows = static_cast<std::size_t>(header.height < 0 ? -header.height : header.height);
    const std::size_t first = header.dataOffset;
    for (std::size_t y = 0; y < rows; ++y) {
        for (std::size_t x = 0; x < static_cast<std::size_t>(header.width); ++x) {
            const std::size_t at = first + y * stride + x * 3;
            if (!std::equal(bmp.begin() + at, bmp.begin() + at + 3, bmp.begin() + first)) {
                std::copy_n(bmp.begin() + at, 3, bmp.begin() + first);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

// Each seed edits one frame file of an animation (a picture frame recoloured, or a raw
// frame's second byte changed); every frame the folder then holds, the raw ones included,
// must come back from the packed archive, and so must every other entry's files. With
// the settings the folder was converted with, which draw base frames, clear the canvas
// and leave frames out, the untouched folder gives back the original first.
class EditChainTest : public OrvpackTest {
protected:
    void EditChain(bool withSettings);
};

void EditChainTest::EditChain(bool withSettings)
{
    int edited = 0;
    int rawEdited = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        RandomArchive random(seed);
        std::string settings;
        const std::string tag = (withSettings ? "s" : "") + std::to_string(seed);
        const std::string name = "chain" + tag + ".dat";
        const Bytes original = random.Archive(random.Int(4, 16), 10, settings);
        const std::string archive = Write(name, original);
        std::vector<std::string> withIni;
        if (withSettings) withIni = {"-s", Write("chain" + tag + ".ini", Bytes(settings.begin(), settings.end()))};
        const std::filesystem::path folder = Convert(archive, "out" + tag, withIni);
        const std::string packed = (dir.path() / ("packed" + tag) / name).string();
        std::filesystem::create_directories(std::filesystem::path(packed).parent_path());
        std::vector<std::string> pack = withIni;
        pack.insert(pack.end(), {"--base", archive, "-o", packed, folder.string()});
        if (withSettings) {
            const Process::Result untouched = Pack(pack);
            ASSERT_EQ(untouched.exitCode, 0) << untouched.err;
            EXPECT_EQ(ReadAll(packed), original) << name;
        }

        const std::vector<std::filesystem::path> frames = FrameFiles(folder);
        if (frames.empty()) continue;
        const std::filesystem::path target
            = frames[static_cast<std::size_t>(random.Int(0, static_cast<int>(frames.size()) - 1))];
        Bytes bytes = ReadAll(target);
        if (target.extension() == ".bmp") {
            if (!RecolourOnePixel(bytes)) continue;
        } else {
            if (bytes.size() < 2) continue;
            bytes[1] ^= 0x5A;
            ++rawEdited;
        }
        Write(target.lexically_relative(dir.path()).string(), bytes);
        ++edited;
        SCOPED_TRACE(name + " " + target.filename().string());

        const Process::Result result = Pack(pack);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, "again" + tag, withIni)), Tree(folder)), std::vector<std::string>{});
    }
    EXPECT_GE(edited, 30);
    EXPECT_GE(rawEdited, 3);
}

TEST_F(EditChainTest, AnEditedFrameGoesBackWithEveryOtherFileOfTheFolder)
{
    EditChain(false);
}

TEST_F(EditChainTest, WithTheSettingsOfTheConversionFramesAreComparedAndComposedAsItComposesThem)
{
    EditChain(true);
}
