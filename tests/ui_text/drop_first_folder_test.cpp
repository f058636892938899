#include <gtest/gtest.h>

#include <string>

#include "ui_text/path_fit.h"

using namespace orv;

namespace {

const std::string kHyouSjis = "\x95\x5C";  // 表 in Shift-JIS: its second byte is "\"

std::string DropWindows(std::string_view folderPart)
{
    return DropFirstFolder(folderPart, PathStyle::Windows);
}

std::string DropPosix(std::string_view folderPart)
{
    return DropFirstFolder(folderPart, PathStyle::Posix);
}

}  // namespace

TEST(DropFirstFolderWindows, RootedFoldersGoOneAtATimeBehindTheMarker)
{
    EXPECT_EQ(DropWindows(R"(\work\archive\sub\)"), R"(\...\archive\sub\)");
    EXPECT_EQ(DropWindows(R"(\...\archive\sub\)"), R"(\...\sub\)");
    EXPECT_EQ(DropWindows(R"(\...\sub\)"), R"(\...\)");
    EXPECT_EQ(DropWindows(R"(\\srv\share\)"), R"(\...\srv\share\)");
}

TEST(DropFirstFolderWindows, UnrootedFoldersGoOneAtATimeBehindTheMarker)
{
    EXPECT_EQ(DropWindows(R"(work\sub\)"), R"(...\sub\)");
    EXPECT_EQ(DropWindows(R"(...\sub\)"), R"(...\)");
}

TEST(DropFirstFolderWindows, NothingLeftToDrop)
{
    EXPECT_EQ(DropWindows(R"(\)"), "");
    EXPECT_EQ(DropWindows(R"(...\)"), "");
    EXPECT_EQ(DropWindows(R"(\...\)"), R"(\)");
    EXPECT_EQ(DropWindows(R"(\a:)"), R"(\)");
    EXPECT_EQ(DropWindows("a:"), "");
}

// A first folder beginning with "." loses four bytes like the marker, so a short one goes
// together with the folder after it.
TEST(DropFirstFolderWindows, FolderBeginningWithDotLosesFourBytesLikeTheMarker)
{
    EXPECT_EQ(DropWindows(R"(\.a\b\c\)"), R"(\...\c\)");
    EXPECT_EQ(DropWindows(R"(.a\b\)"), R"(...\)");
    EXPECT_EQ(DropWindows(R"(\..\b\)"), R"(\...\)");
    EXPECT_EQ(DropWindows(R"(\.a\)"), R"(\)");
    EXPECT_EQ(DropWindows(R"(\.config\x\)"), R"(\...\x\)");
    EXPECT_EQ(DropWindows(R"(\...\.a\b\)"), R"(\...\b\)");
    // The four bytes may end inside a character; what is left is read afresh.
    EXPECT_EQ(DropWindows(".ab" + kHyouSjis + "x\\c\\"), R"(...\x\c\)");
}

TEST(DropFirstFolderWindows, SecondByteOfDoubleByteCharacterIsNoSeparator)
{
    EXPECT_EQ(DropWindows("\\" + kHyouSjis + "\\"), R"(\...\)");
    EXPECT_EQ(DropWindows(kHyouSjis + "\\b\\"), R"(...\b\)");
    EXPECT_EQ(DropWindows("\\a" + kHyouSjis + "b\\c\\"), R"(\...\c\)");
}

TEST(DropFirstFolderPosix, RootedFoldersGoOneAtATimeBehindTheMarker)
{
    EXPECT_EQ(DropPosix("/work/archive/sub/"), "/.../archive/sub/");
    EXPECT_EQ(DropPosix("/.../archive/sub/"), "/.../sub/");
    EXPECT_EQ(DropPosix("/.../sub/"), "/.../");
    EXPECT_EQ(DropPosix("//srv/share/"), "/.../srv/share/");
}

TEST(DropFirstFolderPosix, UnrootedFoldersGoOneAtATimeBehindTheMarker)
{
    EXPECT_EQ(DropPosix("work/sub/"), ".../sub/");
    EXPECT_EQ(DropPosix(".../sub/"), ".../");
}

TEST(DropFirstFolderPosix, NothingLeftToDrop)
{
    EXPECT_EQ(DropPosix("/"), "");
    EXPECT_EQ(DropPosix(".../"), "");
    EXPECT_EQ(DropPosix("/.../"), "/");
}

TEST(DropFirstFolderPosix, FolderBeginningWithDotLosesFourBytesLikeTheMarker)
{
    EXPECT_EQ(DropPosix("/.a/b/c/"), "/.../c/");
    EXPECT_EQ(DropPosix(".a/b/"), ".../");
    EXPECT_EQ(DropPosix("/../b/"), "/.../");
    EXPECT_EQ(DropPosix("/.a/"), "/");
    EXPECT_EQ(DropPosix("/.config/x/"), "/.../x/");
    EXPECT_EQ(DropPosix("/.../.a/b/"), "/.../b/");
}

TEST(DropFirstFolderPosix, BackslashAndMultiByteCharactersAreOrdinary)
{
    EXPECT_EQ(DropPosix("/a\\b/c/"), "/.../c/");
    EXPECT_EQ(DropPosix("/表/"), "/.../");
    EXPECT_EQ(DropPosix("/a表b/c/"), "/.../c/");
}
