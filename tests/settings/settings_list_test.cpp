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

TEST(SettingsList, SortedByNameIgnoringCaseWhateverTheFolderOrder)
{
    TempDir dir;
    for (const char* name : {"b.ini", "a.ini", "C.INI", "A2.ini", "A.INI", "_x.ini", "\x83\x41.ini"})
        MakeFile(dir, name);
    // Letters compare upper-cased, so "_" follows them; names equal but for case go by bytes.
    EXPECT_EQ(Listed(dir.slashed()),
              (std::vector<std::string>{"A.INI", "a.ini", "A2.ini", "b.ini", "C.INI", "_x.ini", "\x83\x41.ini"}));
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
