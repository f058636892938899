#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/pack_writer.h"
#include "settings/settings_file.h"
#include "temp_dir.h"

using namespace orv;
using orv::tools::BytesOf;
using orv::tools::WriteFileBytes;

namespace {

void MakeFile(const TempDir& dir, const std::string& name)
{
    ASSERT_TRUE(WriteFileBytes(dir.slashed() + name, BytesOf("[a.ani]\np1=1\n")));
}

std::vector<std::string> Listed(const std::string& exeDir)
{
    std::vector<std::string> items;
    ListSettingsFiles(exeDir, items);
    return items;
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(SettingsList, IniFilesInAnyLetterCase)
{
    TempDir dir;
    for (const char* name : {"a.ini", "B.INI", "c.Ini", "x.txt", "d.ini.txt", "eini", "f.in"}) MakeFile(dir, name);
    EXPECT_EQ(Sorted(Listed(dir.slashed())), (std::vector<std::string>{"B.INI", "a.ini", "c.Ini"}));
}

TEST(SettingsList, FoldersAndLinksToFoldersAreSkipped)
{
    TempDir dir;
    MakeFile(dir, "a.ini");
    std::filesystem::create_directory(dir.path() / "d.ini");
    std::filesystem::create_directory_symlink(dir.path() / "d.ini", dir.path() / "e.ini");
    std::filesystem::create_symlink(dir.path() / "gone.ini", dir.path() / "f.ini");
    EXPECT_EQ(Listed(dir.slashed()), (std::vector<std::string>{"a.ini"}));
}

TEST(SettingsList, LinkToAFileIsListed)
{
    TempDir dir;
    MakeFile(dir, "frames.txt");
    std::filesystem::create_symlink(dir.path() / "frames.txt", dir.path() / "frames.ini");
    EXPECT_EQ(Listed(dir.slashed()), (std::vector<std::string>{"frames.ini"}));
}

TEST(SettingsList, OrderIsThatOfTheDirectoryListing)
{
    TempDir dir;
    for (int i = 0; i < 40; ++i) MakeFile(dir, "s" + std::to_string(i * 7919 % 40) + ".ini");
    std::vector<std::string> listing;
    for (const auto& item : std::filesystem::directory_iterator(dir.path()))
        listing.push_back(item.path().filename().string());
    EXPECT_EQ(Listed(dir.slashed()), listing);
}

TEST(SettingsList, AppendsToWhatIsThere)
{
    TempDir dir;
    MakeFile(dir, "a.ini");
    std::vector<std::string> items{"earlier.ini"};
    ListSettingsFiles(dir.slashed(), items);
    EXPECT_EQ(items, (std::vector<std::string>{"earlier.ini", "a.ini"}));
}

TEST(SettingsList, MissingOrUnreadableFolderListsNothing)
{
    TempDir dir;
    MakeFile(dir, "a.ini");
    std::vector<std::string> items{"earlier.ini"};
    ListSettingsFiles(dir.slashed() + "missing/", items);
    ListSettingsFiles(dir.slashed() + "a.ini/", items);
    ListSettingsFiles("", items);
    EXPECT_EQ(items, (std::vector<std::string>{"earlier.ini"}));
}

TEST(SettingsList, EmptyFolderListsNothing)
{
    TempDir dir;
    EXPECT_TRUE(Listed(dir.slashed()).empty());
}
