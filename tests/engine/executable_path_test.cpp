// The executable's folder, and where the window keeps its output folders and settings
// files: $ORVCONV_HOME when set, else beside the executable in a portable setup (the build
// tree), else in the user's own folder, even where the user may write beside the
// executable, as root may in /usr/bin.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/base/executable_path.h"
#include "mounts.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// WindowDataFolder(exeDir) computed in a child process in which exeDir is read-only, as
// an installed program's folder is; its result, or the child's exit code as text.
std::string FolderWithReadOnlyExecutable(const fs::path& exeDir)
{
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (const int failed = ReadOnlyAt(exeDir)()) ::_exit(failed);
        const std::string folder = orv::WindowDataFolder(exeDir.string() + "/");
        const bool sent = ::write(channel[1], folder.data(), folder.size()) == static_cast<ssize_t>(folder.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    std::string folder;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        folder.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return code == 0 ? folder : "exit " + std::to_string(code);
}

TEST(FolderOf, KeepsTheFinalSlashAndGivesTheCurrentFolderForABareName)
{
    EXPECT_EQ(orv::FolderOf("/opt/tools/orvconv"), "/opt/tools/");
    EXPECT_EQ(orv::FolderOf("orvconv"), "./");
}

class WindowDataFolderTest : public ::testing::Test {
protected:
    WindowDataFolderTest()
    {
        fs::create_directory(exeDir());
        savedHome_ = std::getenv("HOME") ? std::getenv("HOME") : "";
    }
    ~WindowDataFolderTest() override
    {
        ::setenv("HOME", savedHome_.c_str(), 1);
        ::unsetenv("ORVCONV_HOME");
    }

    fs::path exeDir() const { return dir.path() / "exe"; }

    TempDir dir;

private:
    std::string savedHome_;
};

TEST_F(WindowDataFolderTest, OnlyAPortableFolderIsUsedAndOrvconvHomeAlwaysWins)
{
    // Writable, as /usr/bin is for root, but no portable setup: the user's folder.
    ::unsetenv("ORVCONV_HOME");
    ::setenv("HOME", (dir.path() / "user").c_str(), 1);
    EXPECT_EQ(orv::WindowDataFolder(exeDir().string() + "/"), (dir.path() / "user" / "orvconv").string() + "/");
    EXPECT_TRUE(fs::is_empty(exeDir()));

    std::ofstream(exeDir() / "orvconv.portable").put('\n');
    EXPECT_EQ(orv::WindowDataFolder(exeDir().string() + "/"), exeDir().string() + "/");

    ::setenv("ORVCONV_HOME", (dir.path() / "elsewhere").c_str(), 1);
    EXPECT_EQ(orv::WindowDataFolder(exeDir().string() + "/"), (dir.path() / "elsewhere").string() + "/");
    EXPECT_TRUE(fs::is_directory(dir.path() / "elsewhere"));
}

TEST_F(WindowDataFolderTest, AReadOnlyOneGivesTheUsersOwnFolderMadeOnFirstUse)
{
    ::unsetenv("ORVCONV_HOME");
    ::setenv("HOME", (dir.path() / "user").c_str(), 1);
    const std::string inHome = FolderWithReadOnlyExecutable(exeDir());
    if (inHome == "exit " + std::to_string(kNoNamespace)) GTEST_SKIP() << "this user cannot mount a file system";
    EXPECT_EQ(inHome, (dir.path() / "user" / "orvconv").string() + "/");
    EXPECT_TRUE(fs::is_directory(dir.path() / "user" / "orvconv"));

    ::setenv("ORVCONV_HOME", (dir.path() / "chosen" / "data").c_str(), 1);
    EXPECT_EQ(FolderWithReadOnlyExecutable(exeDir()), (dir.path() / "chosen" / "data").string() + "/");
    EXPECT_TRUE(fs::is_directory(dir.path() / "chosen" / "data"));
}

}  // namespace
