#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

#include "animation_bytes.h"
#include "engine_fixture.h"
#include "picture_bytes.h"
#include "random_archive.h"
#include "settings/settings_file.h"

using namespace orv;

namespace {

// The entry a file of a random archive came from: its names are letter + index, so a
// file's name up to the first '.' or '_' is the entry's name without its extension.
std::string EntryStemOf(const std::string& file)
{
    return file.substr(0, file.find_first_of("._"));
}

struct Choice {
    OutputMode mode;
    AnimationOutput animation;
    bool aniRaw;
};

}  // namespace

using ChosenEntriesTest = EngineTest;

// Writing some entries of an archive gives exactly the files converting all of it gives
// for those entries, though pictures show what earlier, unchosen entries drew.
TEST_F(ChosenEntriesTest, ChosenEntriesGetTheFilesOfTheWholeConversion)
{
    const Choice choices[] = {{AllBmp, AnimationOutput::Frames, false},
                              {AllPng, AnimationOutput::Webp, false},
                              {AllBmp, AnimationOutput::Frames, true},
                              {AllPng, AnimationOutput::Sheet, false}};
    int compared = 0;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        RandomArchive random(seed);
        std::string settingsText;
        const int count = random.Int(8, 24);
        Input("set.dat", random.Archive(count, 12, settingsText));
        const std::string ini = (inDir() / "set.ini").string();
        ASSERT_TRUE(orv::tools::WriteFileBytes(ini, orv::tools::BytesOf(settingsText)));
        const std::unique_ptr<SettingsFile> settings = SettingsFile::Load(ini);
        std::filesystem::remove_all(dir.path() / "all");
        std::filesystem::remove_all(dir.path() / "some");
        const Choice& choice = choices[seed % std::size(choices)];
        converter.options.outputMode = choice.mode;
        converter.options.animation = choice.animation;
        converter.options.aniRaw = choice.aniRaw;
        converter.options.iniFile = settings.get();

        converter.chosenEntries.clear();
        converter.options.exeDir = (dir.path() / "all").string() + "/";
        ASSERT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
        const auto all = TreeOf(dir.path() / "all" / "set");

        std::set<std::string> chosenStems;
        converter.chosenEntries.assign(static_cast<std::size_t>(count), false);
        for (int i = 0; i < count; ++i) {
            if (random.Int(0, 2) != 0) continue;
            converter.chosenEntries[static_cast<std::size_t>(i)] = true;
            chosenStems.insert(std::to_string(i));
        }
        converter.options.exeDir = (dir.path() / "some").string() + "/";
        ASSERT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
        const auto some = TreeOf(dir.path() / "some" / "set");

        std::map<std::string, std::vector<std::uint8_t>> expected;
        for (const auto& [name, bytes] : all)
            if (chosenStems.contains(EntryStemOf(name).substr(1))) expected[name] = bytes;
        EXPECT_EQ(some, expected) << "seed " << seed;
        compared += static_cast<int>(expected.size());
    }
    EXPECT_GT(compared, 20);
}

TEST_F(ChosenEntriesTest, AnAnimationFileLeftOutWritesNothing)
{
    Input("walk.ani", AnimationOf({PictureBytes::Full(1, 1, {{0, 1, 2, 3}}, {0x80})}));
    converter.chosenEntries = {false};
    EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
    EXPECT_FALSE(std::filesystem::exists(exeDir() / "walk"));
}
