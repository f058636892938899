#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "tools/pack_writer.h"
#include "settings/settings_file.h"
#include "temp_dir.h"

using namespace orv;
using orv::tools::BytesOf;
using orv::tools::WriteFileBytes;

namespace {

constexpr std::int32_t kFallback = -77;

std::string CannotOpenMessage(const std::string& path)
{
    return "ファイル " + path + " は開けません";
}

void ExpectCannotOpen(const std::string& path)
{
    try {
        SettingsFile::Load(path);
        ADD_FAILURE() << "no SettingsError for " << path;
    } catch (const SettingsError& error) {
        EXPECT_EQ(std::string(error.what()), CannotOpenMessage(path));
    }
}

void ExpectNoSections(const SettingsFile& file)
{
    EXPECT_EQ(file.IntegerValue("op01.ani", "p3", kFallback), kFallback);
    EXPECT_EQ(file.IntegerValue("", "", kFallback), kFallback);
    EXPECT_EQ(file.TextValue("op01.ani", "p3", "none"), "none");
}

std::size_t OpenDescriptorCount()
{
    const auto items = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(items), end(items)));
}

}  // namespace

TEST(SettingsLoad, ReadsTheFileAtPath)
{
    TempDir dir;
    const std::string path = dir.slashed() + "frames.ini";
    ASSERT_TRUE(WriteFileBytes(path,
                               BytesOf("; opening animation\r\n[op01.ani]\r\np3=1\r\n"
                                       "p4 = 4\r\np5=-1\r\nP6=0x2\r\np7=1 ; old\r\n")));
    const auto file = SettingsFile::Load(path);
    EXPECT_EQ(file->IntegerValue("op01.ani", "p3", kFallback), 1);
    EXPECT_EQ(file->IntegerValue("op01.ani", "p4", kFallback), 4);
    EXPECT_EQ(file->IntegerValue("OP01.ANI", "p5", kFallback), -1);
    EXPECT_EQ(file->IntegerValue("op01.ani", "p6", kFallback), 2);
    EXPECT_EQ(file->IntegerValue("op01.ani", "p7", kFallback), kFallback);
    EXPECT_EQ(file->IntegerValue("op01.ani", "p2", kFallback), kFallback);
}

TEST(SettingsLoad, ReadsAFileWithAZeroByteAndHexBits)
{
    TempDir dir;
    const std::string path = dir.slashed() + "frames.ini";
    using namespace std::string_literals;
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("[a.ani]\np1=0xFFFFFFFF\n\0p2=2\n"s)));
    const auto file = SettingsFile::Load(path);
    EXPECT_EQ(file->IntegerValue("a.ani", "p1", kFallback), -1);
    EXPECT_EQ(file->IntegerValue("a.ani", "p2", kFallback), kFallback);
}

TEST(SettingsLoad, ClosesTheFile)
{
    TempDir dir;
    const std::string path = dir.slashed() + "frames.ini";
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("[a.ani]\np1=1\n")));
    const std::size_t before = OpenDescriptorCount();
    const auto file = SettingsFile::Load(path);
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(file->IntegerValue("a.ani", "p1", kFallback), 1);
}

TEST(SettingsLoad, EmptyPathGivesNoSections)
{
    ExpectNoSections(*SettingsFile::Load(""));
}

TEST(SettingsLoad, MissingPathGivesNoSections)
{
    TempDir dir;
    ExpectNoSections(*SettingsFile::Load(dir.slashed() + "missing.ini"));
    ExpectNoSections(*SettingsFile::Load(dir.slashed() + "missing/frames.ini"));
}

TEST(SettingsLoad, PathBelowAFileGivesNoSections)
{
    TempDir dir;
    const std::string path = dir.slashed() + "frames.ini";
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("[a.ani]\np1=1\n")));
    ExpectNoSections(*SettingsFile::Load(path + "/frames.ini"));
}

TEST(SettingsLoad, FolderGivesNoSections)
{
    TempDir dir;
    ExpectNoSections(*SettingsFile::Load(dir.path().string()));
    std::filesystem::create_directory(dir.path() / "d.ini");
    ExpectNoSections(*SettingsFile::Load(dir.slashed() + "d.ini"));
}

TEST(SettingsLoad, LinksAreFollowed)
{
    TempDir dir;
    const std::string path = dir.slashed() + "frames.ini";
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("[a.ani]\np1=1\n")));
    std::filesystem::create_symlink(path, dir.path() / "link.ini");
    std::filesystem::create_symlink(dir.path() / "gone.ini", dir.path() / "dangling.ini");
    EXPECT_EQ(SettingsFile::Load(dir.slashed() + "link.ini")->IntegerValue("a.ani", "p1", 0), 1);
    ExpectNoSections(*SettingsFile::Load(dir.slashed() + "dangling.ini"));
}

TEST(SettingsLoadErrors, SocketCannotBeOpened)
{
    TempDir dir;
    const std::string path = dir.slashed() + "socket.ini";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof(address.sun_path));
    std::copy(path.begin(), path.end(), address.sun_path);
    const int bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    ::close(fd);
    ASSERT_EQ(bound, 0);
    ExpectCannotOpen(path);
}

TEST(SettingsLoadErrors, FifoIsRefusedWithoutWaitingForAWriter)
{
    TempDir dir;
    const std::string path = dir.slashed() + "fifo.ini";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ExpectCannotOpen(path);
}

TEST(SettingsLoadErrors, LinkLoopCannotBeOpened)
{
    TempDir dir;
    std::filesystem::create_symlink(dir.path() / "b.ini", dir.path() / "a.ini");
    std::filesystem::create_symlink(dir.path() / "a.ini", dir.path() / "b.ini");
    ExpectCannotOpen(dir.slashed() + "a.ini");
}

TEST(SettingsLoadErrors, FileWithoutReadPermission)
{
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root from reading";
    TempDir dir;
    const std::string path = dir.slashed() + "locked.ini";
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("[a.ani]\np1=1\n")));
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    ExpectCannotOpen(path);
}

TEST(SettingsLoadErrors, MessageCarriesThePathAsGiven)
{
    TempDir dir;
    const std::string path = dir.slashed() + "日本語.ini";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ExpectCannotOpen(path);
    EXPECT_EQ(SettingsError("x.ini").what(), std::string("ファイル x.ini は開けません"));
}

TEST(SettingsLoadJunk, LargeFileOfRandomBytes)
{
    // No zero bytes, so all of the junk is parsed; a real section follows it.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> nonZeroByte(1, 255);
    std::string bytes(5u << 20, '\0');
    for (char& byte : bytes) byte = static_cast<char>(nonZeroByte(random));
    bytes += "\n[op01.ani]\np3=5\n";

    TempDir dir;
    const std::string path = dir.slashed() + "junk.ini";
    ASSERT_TRUE(WriteFileBytes(path, BytesOf(bytes)));
    const auto file = SettingsFile::Load(path);
    EXPECT_EQ(file->IntegerValue("op01.ani", "p3", kFallback), 5);
    EXPECT_EQ(file->IntegerValue("op01.ani", "p4", kFallback), kFallback);
    for (int i = 0; i < 1000; ++i) {
        const std::string name(1 + i % 5, static_cast<char>(nonZeroByte(random)));
        file->TextValue(name, name, "");
    }
}

TEST(SettingsLoadJunk, FileOfOnlyHeaders)
{
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += "[]\np=" + std::to_string(i) + "\n";
    TempDir dir;
    const std::string path = dir.slashed() + "headers.ini";
    ASSERT_TRUE(WriteFileBytes(path, BytesOf(bytes)));
    const auto file = SettingsFile::Load(path);
    EXPECT_EQ(file->IntegerValue("", "p", kFallback), 199999);
    EXPECT_EQ(file->IntegerValue("", "q", kFallback), kFallback);
}
