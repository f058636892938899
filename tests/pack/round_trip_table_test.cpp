// The way back as a modder takes it, over generated archives: every way of converting,
// with and without settings; the folder packed untouched, then with one edit of each kind
// on its base. Each run either gives back what the folder shows (identical, or as edited)
// or writes nothing and says why; never exit 0 with the folder's content lost. The table
// of outcomes is printed.
#include <gtest/gtest.h>

#include <iostream>
#include <map>

#include "bmp_header.h"
#include "orvpack_fixture.h"
#include "random_archive.h"
#include "tools/sound_writer.h"

using orv::tools::Bytes;

namespace {

struct Mode {
    std::string name;
    std::vector<std::string> convert;  // orvconv-cli's options
    std::vector<std::string> pack;  // orvpack's options for the same folder
    bool edits;  // whether the folder's pictures are BMP files the edits change
};

// Gives the first pixel of a 24-bit BMP the colour of the first pixel that differs from
// it, so that no colour is added; else changes it.
void EditBmp(const std::filesystem::path& file)
{
    Bytes bmp = ReadAll(file);
    const std::size_t first = ParseBmpHeader(bmp).dataOffset;
    const auto at = [&](std::size_t i) { return bmp.begin() + static_cast<std::ptrdiff_t>(i); };
    std::size_t other = first + 3;
    while (other + 3 <= bmp.size() && std::equal(at(other), at(other + 3), at(first))) other += 3;
    if (other + 3 <= bmp.size())
        std::copy_n(at(other), 3, at(first));
    else
        bmp[first] ^= 0x55;
    orv::tools::WriteFileBytes(file.string(), bmp);
}

void FlipLastByte(const std::filesystem::path& file)
{
    Bytes bytes = ReadAll(file);
    bytes.back() ^= 0x5A;
    orv::tools::WriteFileBytes(file.string(), bytes);
}

class RoundTripTableTest : public OrvpackTest {
protected:
    // A picture, an animation whose first frame is a picture, a sound, a raw entry and
    // another picture, with settings for the animation.
    std::string Generate(unsigned seed, std::string& settings)
    {
        RandomArchive random(seed);
        std::vector<Bytes> frames{random.Picture(8)};
        for (int k = 0; k < 4; ++k) frames.push_back(random.Frame(8));
        const std::vector<std::int16_t> samples{1, -2, 300, -400, 5000, -6000};
        const Bytes archive = orv::tools::BuildPack({{"p0.cg", random.Picture(8)},
                                                     {"a1.ani", AnimationOf(frames)},
                                                     {"s2.pcm", orv::tools::BuildSoundEntry(6, samples)},
                                                     {"r3.bin", {random.Byte(), random.Byte(), random.Byte()}},
                                                     {"p4.cg", random.Picture(8)}});
        settings = Write("gen" + std::to_string(seed) + ".ini", orv::tools::BytesOf(random.Settings("a1.ani", 5)));
        return Write("gen" + std::to_string(seed) + ".dat", archive);
    }

    // Packs the folder and converts the result as it was converted: "identical" or "as
    // edited" when that gives back the folder, else the failure; "refused: REASON" when
    // orvpack wrote nothing.
    std::string Outcome(const std::string& tag, const std::filesystem::path& folder,
                        const std::vector<std::string>& convert, std::vector<std::string> pack, const Bytes* original,
                        const std::string& what)
    {
        const std::string packed = (dir.path() / ("packed-" + tag) / (folder.filename().string() + ".dat")).string();
        pack.insert(pack.end(), {"-o", packed, folder.string()});
        const Process::Result result = Pack(pack);
        if (result.exitCode != 0) {
            EXPECT_EQ(result.exitCode, 1) << tag << ": " << result.err;
            EXPECT_FALSE(std::filesystem::exists(packed)) << tag;
            const auto line = result.err.find("; no archive written");
            EXPECT_NE(line, std::string::npos) << tag << ": " << result.err;
            return "refused: " + result.err.substr(0, line);
        }
        if (original != nullptr) {
            EXPECT_EQ(ReadAll(packed), *original) << tag << " is no copy of its base";
            return "identical";
        }
        const std::vector<std::string> differing
            = Differing(Tree(Convert(packed, "again-" + tag, convert)), Tree(folder));
        EXPECT_EQ(differing, std::vector<std::string>{}) << tag << ": " << result.err;
        return differing.empty() ? what : "LOST: " + differing.front();
    }
};

TEST_F(RoundTripTableTest, EveryModeGivesBackTheFolderOrRefusesWithAReason)
{
    const std::vector<Mode> modes{
        {"bmp", {}, {}, true},
        {"png", {"-f", "png"}, {}, false},
        {"ani-raw", {"--ani-raw"}, {}, true},
        {"webp", {"--animation", "webp"}, {"--animation", "webp"}, false},
        {"gif", {"--animation", "gif"}, {"--animation", "gif"}, false},
        {"sheet", {"--animation", "sheet"}, {"--animation", "sheet"}, false},
    };
    // The edits, each on a fresh copy of the converted folder: the orvpack options it adds
    // and what it does to the folder (bmp and ani-raw modes, whose pictures are BMP files).
    struct Edit {
        std::string name;
        std::vector<std::string> pack;
        std::function<void(const std::filesystem::path&)> apply;
    };
    const std::vector<Edit> edits{
        {"picture", {}, [](const std::filesystem::path& f) { EditBmp(f / "p0.bmp"); }},
        {"frame",
         {},
         [](const std::filesystem::path& f) {
             if (std::filesystem::exists(f / "a1_0001.bmp")) EditBmp(f / "a1_0001.bmp");
         }},
        {"sound", {}, [](const std::filesystem::path& f) { FlipLastByte(f / "s2.wav"); }},
        {"raw", {}, [](const std::filesystem::path& f) { FlipLastByte(f / "r3.bin"); }},
        {"deletion",
         {"--remove", "r3.bin"},
         [](const std::filesystem::path& f) { std::filesystem::remove(f / "r3.bin"); }},
        {"addition",
         {},
         [](const std::filesystem::path& f) {
             orv::tools::WriteFileBytes((f / "added.txt").string(), {1, 2});
         }},
    };
    std::map<std::string, std::map<std::string, int>> table;  // mode -> outcome -> count
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::string settingsFile;
        const std::string archive = Generate(seed, settingsFile);
        const Bytes original = ReadAll(archive);
        for (const Mode& mode : modes) {
            for (const bool withSettings : {false, true}) {
                std::vector<std::string> convert = mode.convert;
                std::vector<std::string> pack = mode.pack;
                if (withSettings) {
                    convert.insert(convert.end(), {"-s", settingsFile});
                    pack.insert(pack.end(), {"-s", settingsFile});
                }
                const std::string row = mode.name + (withSettings ? " -s" : "");
                const std::string tag = std::to_string(seed) + "-" + mode.name + (withSettings ? "-s" : "");
                SCOPED_TRACE(tag);
                const std::filesystem::path folder = Convert(archive, "conv-" + tag, convert);
                ++table[row]["untouched: " + Outcome(tag, folder, convert, pack, nullptr, "identical")];
                std::vector<std::string> based = pack;
                based.insert(based.end(), {"--base", archive});
                ++table[row]["base, untouched: " + Outcome(tag + "-b", folder, convert, based, &original, "")];
                if (!mode.edits) continue;
                for (const Edit& edit : edits) {
                    const std::filesystem::path copy
                        = dir.path() / ("edit-" + tag + "-" + edit.name) / folder.filename();
                    std::filesystem::create_directories(copy.parent_path());
                    std::filesystem::copy(folder, copy, std::filesystem::copy_options::recursive);
                    edit.apply(copy);
                    std::vector<std::string> args = based;
                    args.insert(args.end(), edit.pack.begin(), edit.pack.end());
                    ++table[row][edit.name + ": "
                                 + Outcome(tag + "-" + edit.name, copy, convert, args, nullptr, "as edited")];
                }
            }
        }
    }
    for (const auto& [row, outcomes] : table) {
        for (const auto& [outcome, count] : outcomes) std::cout << row << " | " << outcome << " | " << count << "\n";
    }
}

}  // namespace
