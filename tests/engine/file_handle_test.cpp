#include <gtest/gtest.h>

#include <filesystem>

#include "file_handle.h"
#include "pack_writer.h"
#include "temp_dir.h"

using orv::FileHandle;
using orv::tools::BytesOf;
using orv::tools::WriteFileBytes;

TEST(FileHandle, OpeningForWriteCutsALongerFileToWhatIsWritten)
{
    TempDir dir;
    const std::string path = (dir.path() / "out.bin").string();
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("a much longer earlier content")));

    FileHandle file;
    ASSERT_TRUE(file.Open(path, FileHandle::Mode::Write));
    EXPECT_TRUE(file.Write("new", 3));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(ReadAll(path), BytesOf("new"));
}

TEST(FileHandle, ReadingPastTheEndLeavesTheRestOfTheDestination)
{
    TempDir dir;
    const std::string path = (dir.path() / "in.bin").string();
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("0123456789")));

    FileHandle file;
    ASSERT_TRUE(file.Open(path, FileHandle::Mode::Read));
    EXPECT_EQ(file.Size(), 10u);
    ASSERT_TRUE(file.Seek(6));
    char buffer[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_FALSE(file.Read(buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer, 8), "6789xxxx");
}

TEST(FileHandle, RefusesWhatIsNotAnExistingRegularFile)
{
    TempDir dir;
    FileHandle file;
    EXPECT_FALSE(file.Open((dir.path() / "missing.dat").string(), FileHandle::Mode::Read));
    EXPECT_FALSE(file.Open(dir.path().string(), FileHandle::Mode::Read));
    EXPECT_FALSE(file.IsOpen());
}

TEST(FileHandle, WritingNeverFollowsASymbolicLink)
{
    TempDir dir;
    const auto target = dir.path() / "target.bin";
    ASSERT_TRUE(WriteFileBytes(target.string(), BytesOf("keep")));
    std::filesystem::create_symlink(target, dir.path() / "link.bin");

    FileHandle file;
    EXPECT_FALSE(file.Open((dir.path() / "link.bin").string(), FileHandle::Mode::Write));
    EXPECT_EQ(ReadAll(target), BytesOf("keep"));
}
