#include <gtest/gtest.h>

#include <string>

#include "fit_steps.h"
#include "ui_text/path_fit.h"

using namespace orv;
using orv::test::ByteMeasure;
using orv::test::ExpectSteps;

namespace {

// Shift-JIS characters whose second byte is 0x5C, the byte of "\".
const std::string kHyou = "\x95\x5C";  // 表
const std::string kSo = "\x83\x5C";  // ソ

void ExpectWindowsSteps(const std::vector<std::string>& steps)
{
    ExpectSteps(PathStyle::Windows, steps);
}

}  // namespace

TEST(FitPathWindows, PathThatFitsIsReturnedAfterOneMeasurement)
{
    const std::string path = R"(D:\work\archive\sub\op01.dat)";
    for (const int width : {static_cast<int>(path.size()), 329}) {
        ByteMeasure measure;
        EXPECT_EQ(FitPathToWidth(path, width, measure.Callback(), PathStyle::Windows), path);
        EXPECT_EQ(measure.measured, std::vector<std::string>{path});
    }
}

TEST(FitPathWindows, PathWithoutSeparatorIsNeverMeasured)
{
    for (const std::string path : {"op01.dat", ""}) {
        ByteMeasure measure;
        EXPECT_EQ(FitPathToWidth(path, 0, measure.Callback(), PathStyle::Windows), path);
        EXPECT_TRUE(measure.measured.empty());
    }
}

TEST(FitPathWindows, FoldersThenDriveThenMarkerAreDropped)
{
    ExpectWindowsSteps({R"(D:\work\archive\sub\op01.dat)", R"(D:\...\archive\sub\op01.dat)", R"(D:\...\sub\op01.dat)",
                        R"(D:\...\op01.dat)", R"(...\op01.dat)", "op01.dat"});
}

TEST(FitPathWindows, FileInDriveRootLosesRootThenDrive)
{
    ExpectWindowsSteps({R"(D:\op01.dat)", "D:op01.dat", "op01.dat"});
}

TEST(FitPathWindows, DriveRelativePathLosesDrive)
{
    ExpectWindowsSteps({"D:op01.dat", "op01.dat"});
}

TEST(FitPathWindows, NetworkPathFirstGrowsThenShrinks)
{
    ExpectWindowsSteps({R"(\\srv\share\op01.dat)", R"(\...\srv\share\op01.dat)", R"(\...\share\op01.dat)",
                        R"(\...\op01.dat)", R"(...\op01.dat)", "op01.dat"});
}

TEST(FitPathWindows, RelativePathGetsUnrootedMarker)
{
    ExpectWindowsSteps({R"(work\sub\op01.dat)", R"(...\sub\op01.dat)", R"(...\op01.dat)", "op01.dat"});
}

TEST(FitPathWindows, ColonSeparatesLikeBackslash)
{
    ExpectWindowsSteps({R"(D:\a\b:op01.dat)", R"(D:\...\b:op01.dat)", R"(D:\op01.dat)", "D:op01.dat", "op01.dat"});
}

// A short folder name beginning with "." makes one step take two folders.
TEST(FitPathWindows, FolderNamesBeginningWithDotLoseFourBytesLikeTheMarker)
{
    ExpectWindowsSteps(
        {R"(D:\.a\b\c\op01.dat)", R"(D:\...\c\op01.dat)", R"(D:\...\op01.dat)", R"(...\op01.dat)", "op01.dat"});
    ExpectWindowsSteps({R"(D:\..\x\op01.dat)", R"(D:\...\op01.dat)", R"(...\op01.dat)", "op01.dat"});
    ExpectWindowsSteps({R"(D:\.a\op01.dat)", R"(D:\op01.dat)", "D:op01.dat", "op01.dat"});
    ExpectWindowsSteps(
        {R"(D:\u\.cfg\op01.dat)", R"(D:\...\.cfg\op01.dat)", R"(D:\...\op01.dat)", R"(...\op01.dat)", "op01.dat"});
}

TEST(FitPathWindows, DoubleByteFolderIsNeitherSplitNorSeparated)
{
    ExpectWindowsSteps({"D:\\" + kHyou + "\\op01.dat", R"(D:\...\op01.dat)", R"(...\op01.dat)", "op01.dat"});
    ExpectWindowsSteps({"D:\\a" + kSo + "b\\" + kHyou + "\\op01.dat", "D:\\...\\" + kHyou + "\\op01.dat",
                        R"(D:\...\op01.dat)", R"(...\op01.dat)", "op01.dat"});
}

TEST(FitPathWindows, DoubleByteNameIsKeptWhole)
{
    const std::string name = "x" + kHyou + ".dat";
    ExpectWindowsSteps({"D:\\a\\" + name, "D:\\...\\" + name, "...\\" + name, name});
}

TEST(FitPathWindows, ColonAfterLeadByteIsNoSeparator)
{
    const std::string name = "\x81:b.dat";
    ExpectWindowsSteps({"D:\\a\\" + name, "D:\\...\\" + name, "...\\" + name, name});
    // A lead byte first: no drive part, the pair is a folder name.
    ExpectWindowsSteps({"\x81:\\x.dat", "...\\x.dat", "x.dat"});
}

TEST(FitPathWindows, LeadByteAtTheEndStandsAlone)
{
    ExpectWindowsSteps({"D:\\a\\\x81", "D:\\...\\\x81", "...\\\x81", "\x81"});
}
