#include <gtest/gtest.h>

#include <filesystem>

#include "engine/base/fatal_error.h"
#include "engine/io/file_handle.h"
#include "engine/io/input_file.h"
#include "tools/pack_writer.h"
#include "temp_dir.h"

using orv::FileHandle;
using orv::tools::BytesOf;
using orv::tools::WriteFileBytes;

TEST(FileHandle, ReadingPastTheEndLeavesTheRestOfTheDestination)
{
    TempDir dir;
    const std::string path = (dir.path() / "in.bin").string();
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("0123456789")));

    FileHandle file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(file.Size(), 10u);
    char buffer[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_FALSE(file.ReadAt(6, buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer, 8), "6789xxxx");
}

TEST(FileHandle, RefusesWhatIsNotAnExistingRegularFile)
{
    TempDir dir;
    FileHandle file;
    EXPECT_FALSE(file.Open((dir.path() / "missing.dat").string()));
    EXPECT_FALSE(file.Open(dir.path().string()));
    EXPECT_FALSE(file.IsOpen());
}

TEST(InputFile, ReadsOnlyWhatTheFileHeldAndAShrunkFileIsTheReadError)
{
    TempDir dir;
    const std::string path = (dir.path() / "in.bin").string();
    ASSERT_TRUE(WriteFileBytes(path, BytesOf("0123456789")));
    orv::InputFile file;
    ASSERT_TRUE(file.Open(path));

    // Past the end is no error: the destination keeps its bytes there.
    char buffer[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    file.ReadAt(6, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, 8), "6789xxxx");
    file.ReadAt(10, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, 8), "6789xxxx");

    // Bytes the file held when opened and no longer holds are.
    std::filesystem::resize_file(path, 4);
    try {
        file.ReadAt(2, buffer, 4);
        FAIL() << "a short read was taken for data";
    } catch (const orv::FatalError& error) {
        EXPECT_STREQ(error.what(), ("ファイル読み込みエラー！\n" + path + "\n終了します。").c_str());
    }
}
