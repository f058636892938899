#include <gtest/gtest.h>

#include <string>

#include "fit_steps.h"
#include "ui_text/path_fit.h"

using namespace orv;
using orv::test::ByteMeasure;
using orv::test::ExpectSteps;

namespace {

void ExpectPosixSteps(const std::vector<std::string>& steps)
{
    ExpectSteps(PathStyle::Posix, steps);
}

}  // namespace

TEST(FitPathPosix, PathThatFitsIsReturnedAfterOneMeasurement)
{
    const std::string path = "/work/archive/sub/op01.dat";
    for (const int width : {static_cast<int>(path.size()), 329}) {
        ByteMeasure measure;
        EXPECT_EQ(FitPathToWidth(path, width, measure.Callback(), PathStyle::Posix), path);
        EXPECT_EQ(measure.measured, std::vector<std::string>{path});
    }
}

TEST(FitPathPosix, PathWithoutSeparatorIsNeverMeasured)
{
    for (const std::string path : {"op01.dat", "", "D:op01.dat", "a\\b.dat"}) {
        ByteMeasure measure;
        EXPECT_EQ(FitPathToWidth(path, 0, measure.Callback(), PathStyle::Posix), path);
        EXPECT_TRUE(measure.measured.empty());
    }
}

TEST(FitPathPosix, FoldersThenMarkerAreDropped)
{
    ExpectPosixSteps({"/work/archive/sub/op01.dat", "/.../archive/sub/op01.dat", "/.../sub/op01.dat", "/.../op01.dat",
                      ".../op01.dat", "op01.dat"});
}

TEST(FitPathPosix, FileInRootLosesRoot)
{
    ExpectPosixSteps({"/op01.dat", "op01.dat"});
}

TEST(FitPathPosix, DriveLetterIsAnOrdinaryFolder)
{
    ExpectPosixSteps({"D:/op01.dat", ".../op01.dat", "op01.dat"});
}

TEST(FitPathPosix, DoubleSlashPathFirstGrowsThenShrinks)
{
    ExpectPosixSteps({"//srv/share/op01.dat", "/.../srv/share/op01.dat", "/.../share/op01.dat", "/.../op01.dat",
                      ".../op01.dat", "op01.dat"});
}

TEST(FitPathPosix, RelativePathGetsUnrootedMarker)
{
    ExpectPosixSteps({"work/sub/op01.dat", ".../sub/op01.dat", ".../op01.dat", "op01.dat"});
}

TEST(FitPathPosix, BackslashAndColonAreOrdinaryBytes)
{
    ExpectPosixSteps({"/a\\b/c:d/op01.dat", "/.../c:d/op01.dat", "/.../op01.dat", ".../op01.dat", "op01.dat"});
}

TEST(FitPathPosix, FolderNamesBeginningWithDotLoseFourBytesLikeTheMarker)
{
    ExpectPosixSteps({"/.a/b/c/op01.dat", "/.../c/op01.dat", "/.../op01.dat", ".../op01.dat", "op01.dat"});
    ExpectPosixSteps({"/../x/op01.dat", "/.../op01.dat", ".../op01.dat", "op01.dat"});
    ExpectPosixSteps({"/.a/op01.dat", "/op01.dat", "op01.dat"});
    ExpectPosixSteps({"/u/.cfg/op01.dat", "/.../.cfg/op01.dat", "/.../op01.dat", ".../op01.dat", "op01.dat"});
    ExpectPosixSteps({"./out/op01.dat", ".../op01.dat", "op01.dat"});
}

TEST(FitPathPosix, MultiByteFolderIsDroppedWhole)
{
    ExpectPosixSteps({"/表/op01.dat", "/.../op01.dat", ".../op01.dat", "op01.dat"});
    ExpectPosixSteps({"/aソb/表/op01.dat", "/.../表/op01.dat", "/.../op01.dat", ".../op01.dat", "op01.dat"});
}

TEST(FitPathPosix, MultiByteNameIsKeptWhole)
{
    ExpectPosixSteps({"/a/x表.dat", "/.../x表.dat", ".../x表.dat", "x表.dat"});
}

TEST(FitPathPosix, TruncatedCharacterAtTheEndIsCarriedAsBytes)
{
    ExpectPosixSteps({"/a/\xE8\xA1", "/.../\xE8\xA1", ".../\xE8\xA1", "\xE8\xA1"});
}
