// Folders orvpack refuses: a clear error naming the file, and no archive.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <fstream>
#include <set>

#include <sys/stat.h>

#include "orvpack_fixture.h"
#include "pack/files/pack_error.h"
#include "pack/job/pack_folder.h"

using orv::tools::Bytes;

namespace {

// A picture of `colours` colours, one a pixel from the top left on.
Bytes ColoursBmp(int colours)
{
    return BmpFile(20, 20, [colours](int x, int y) {
        return static_cast<std::uint32_t>(std::min(y * 20 + x, colours - 1)) * 0x010203u;
    });
}

struct ErrorCase {
    const char* what;
    std::function<void(const std::filesystem::path&)> fill;
    std::vector<std::string> named;  // texts the error must hold
};

}  // namespace

TEST_F(OrvpackTest, FoldersThatCannotBePackedWriteNothing)
{
    const auto file = [](const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
        ASSERT_TRUE(orv::tools::WriteFileBytes((folder / name).string(), bytes));
    };
    const std::vector<ErrorCase> cases{
        {"name longer than 16 bytes",
         [&](const auto& f) { file(f, "abcdefghijklmnopq.txt", {1}); },
         {"abcdefghijklmnopq.txt", "21 bytes", "at most 16"}},
        {"name CP932 cannot hold",
         [&](const auto& f) { file(f, "\xF0\x9F\x98\x80.txt", {1}); },
         {"\xF0\x9F\x98\x80.txt", "cannot be written in CP932"}},
        {"two files, one entry",
         [&](const auto& f) {
             file(f, "a.bmp", ColoursBmp(3));
             file(f, "a.cg", {1});
         },
         {"a.bmp and ", "a.cg would both make the entry a.cg"}},
        // Black, which the cleared canvas shows, takes no palette entry.
        {"129 colours to store",
         [&](const auto& f) { file(f, "many.bmp", ColoursBmp(130)); },
         {"many.bmp: 129 colours"}},
        {"wider than 65,535",
         [&](const auto& f) { file(f, "wide.bmp", BmpFile(65536, 0, {})); },
         {"wide.bmp: 65536 x 0 pixels", "65,535"}},
        {"past 4 GiB",
         [&](const auto& f) {
             file(f, "a.txt", {1});
             file(f, "big.bin", {});
             std::filesystem::resize_file(f / "big.bin", std::uint64_t{1} << 32);
         },
         {"big.bin: the archive would end past 4 GiB"}},
        {"more than 65,535 entries",
         [&](const auto& f) {
             for (int i = 0; i <= 65535; ++i) std::ofstream(f / std::to_string(i));
         },
         {"65536 entries; an archive holds at most 65,535"}},
    };
    for (const ErrorCase& error : cases) {
        SCOPED_TRACE(error.what);
        const std::filesystem::path folder = dir.path() / "folder";
        const std::filesystem::path out = dir.path() / "out";
        std::filesystem::remove_all(folder);
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(out);
        error.fill(folder);
        const Process::Result result = Pack({"-o", (out / "x.dat").string(), folder.string()});
        EXPECT_EQ(result.exitCode, 1);
        for (const std::string& text : error.named) EXPECT_NE(result.err.find(text), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("no archive written"), std::string::npos) << result.err;
        EXPECT_TRUE(std::filesystem::is_empty(out));
    }
}

TEST_F(OrvpackTest, QuantizeReducesAPictureTo128Colours)
{
    const std::filesystem::path folder = dir.path() / "pictures";
    std::filesystem::create_directory(folder);
    Write("pictures/sky.bmp",
          BmpFile(40, 30, [](int x, int y) { return static_cast<std::uint32_t>(x * 6 + y * 0x0800); }));
    const std::string archive = (dir.path() / "pictures.dat").string();

    const Process::Result refused = Pack({folder.string()});
    EXPECT_EQ(refused.exitCode, 1);
    // 1200 colours, black among them, which the cleared canvas shows already.
    EXPECT_NE(refused.err.find("sky.bmp: 1199 colours to store"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(archive));

    const Process::Result result = Pack({"--quantize", folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("reduced to"), std::string::npos) << result.err;
    const Bytes bmp = ReadAll(Convert(archive, "converted") / "sky.bmp");
    ASSERT_EQ(bmp.size(), 54u + 40u * 3u * 30u);
    std::set<std::uint32_t> colours;
    for (std::size_t at = 54; at < bmp.size(); at += 3)
        colours.insert(static_cast<std::uint32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16));
    EXPECT_LE(colours.size(), 128u);
    EXPECT_GT(colours.size(), 16u);
}

// orvconv-cli data.dat writes data/ beside it; orvpack data/ would write data.dat, so
// without -o it refuses and says what to type. With -o it replaces the file.
TEST_F(OrvpackTest, WithoutOutputAnExistingArchiveIsNeverReplaced)
{
    const std::filesystem::path folder = dir.path() / "data";
    std::filesystem::create_directory(folder);
    Write("data/sky.bmp", ColoursBmp(3));
    const Bytes original{'p', 'a', 'c', 'k', 0, 0};
    const std::string archive = Write("data.dat", original);

    const Process::Result refused = Pack({folder.string() + "/"});
    EXPECT_EQ(refused.exitCode, 1);
    for (const std::string& text :
         {std::string("data.dat exists"), "--base " + archive + " -o NEW.dat", "-o " + archive})
        EXPECT_NE(refused.err.find(text), std::string::npos) << refused.err;
    EXPECT_EQ(ReadAll(archive), original);

    const Process::Result replaced = Pack({"-q", "-o", archive, folder.string()});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_TRUE(std::filesystem::exists(Convert(archive, "converted") / "sky.bmp"));
}

// Pictures of no columns or no rows are read without touching a pixel, and go back.
TEST_F(OrvpackTest, APictureWithoutPixelsGoesBack)
{
    const std::filesystem::path folder = dir.path() / "empty";
    std::filesystem::create_directory(folder);
    const Bytes narrow = BmpFile(0, 3, {});
    const Bytes flat = BmpFile(4, 0, {});
    Write("empty/narrow.bmp", narrow);
    Write("empty/flat.bmp", flat);
    const std::string archive = (dir.path() / "empty.dat").string();
    const Process::Result result = Pack({"-q", "-o", archive, folder.string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::filesystem::path converted = Convert(archive, "converted");
    EXPECT_EQ(ReadAll(converted / "narrow.bmp"), narrow);
    EXPECT_EQ(ReadAll(converted / "flat.bmp"), flat);
}

// -o replaces a regular file or makes a new one; a link, a FIFO or a folder there is
// refused and left as it is (a link's target untouched).
TEST_F(OrvpackTest, OutputThatIsNoRegularFileIsRefused)
{
    const std::filesystem::path folder = dir.path() / "pictures";
    std::filesystem::create_directory(folder);
    Write("pictures/sky.bmp", ColoursBmp(3));
    const Bytes target{'k', 'e', 'e', 'p'};
    Write("target.dat", target);
    std::filesystem::create_symlink(dir.path() / "target.dat", dir.path() / "link.dat");
    ASSERT_EQ(::mkfifo((dir.path() / "fifo.dat").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path() / "folder.dat");
    for (const auto& [name, kind] : std::vector<std::pair<std::string, std::string>>{
             {"link.dat", "a symbolic link"}, {"fifo.dat", "a FIFO"}, {"folder.dat", "a folder"}}) {
        SCOPED_TRACE(name);
        const Process::Result result = Pack({"-o", (dir.path() / name).string(), folder.string()});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(name + " is " + kind), std::string::npos) << result.err;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.dat"));
    EXPECT_EQ(ReadAll(dir.path() / "target.dat"), target);
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path() / "fifo.dat"));
}

// A link in the folder is skipped with a note: a received folder could otherwise pull any
// file of the machine into an archive. --dereference packs what it names.
TEST_F(OrvpackTest, LinksInTheFolderAreSkippedUnlessDereferenced)
{
    const std::filesystem::path folder = dir.path() / "mod";
    std::filesystem::create_directory(folder);
    Write("mod/own.txt", orv::tools::BytesOf("own"));
    Write("secret.txt", orv::tools::BytesOf("secret"));
    std::filesystem::create_symlink(dir.path() / "secret.txt", folder / "key.txt");
    const std::string archive = (dir.path() / "mod.dat").string();

    const Process::Result skipped = Pack({"-o", archive, folder.string()});
    ASSERT_EQ(skipped.exitCode, 0) << skipped.err;
    EXPECT_NE(skipped.err.find("skipped: key.txt (a symbolic link"), std::string::npos) << skipped.err;
    std::vector<std::string> names;
    for (const TableEntry& entry : EntriesOf(ReadAll(archive))) names.push_back(entry.name);
    EXPECT_EQ(names, std::vector<std::string>{"own.txt"});

    const Process::Result followed = Pack({"-q", "--dereference", "-o", archive, folder.string()});
    ASSERT_EQ(followed.exitCode, 0) << followed.err;
    const std::vector<TableEntry> entries = EntriesOf(ReadAll(archive));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "key.txt");
    EXPECT_EQ(entries[0].bytes, orv::tools::BytesOf("secret"));
}

// A temporary file a killed run left beside the archive goes with the next run; a run
// stopped (as a signal stops it) at any point writes nothing and leaves the archive at -o
// as it was.
TEST_F(OrvpackTest, WhatAStoppedRunLeavesIsCleared)
{
    const std::filesystem::path folder = dir.path() / "pictures";
    std::filesystem::create_directory(folder);
    Write("pictures/sky.bmp", ColoursBmp(3));
    Write("pictures/sea.bmp", ColoursBmp(5));
    Write("pictures/big.bin", Bytes(3u << 20, 7));
    std::filesystem::create_directory(dir.path() / "out");
    const std::string leftover = Write("out/.orvconv-0123456789abcdef.tmp", {1, 2, 3});
    const std::string archive = (dir.path() / "out" / "pictures.dat").string();
    const Process::Result first = Pack({"-q", "-o", archive, folder.string()});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_FALSE(std::filesystem::exists(leftover));
    const Bytes packed = ReadAll(archive);

    Write("pictures/sky.bmp", ColoursBmp(4));
    for (int askedBeforeStop = 0; askedBeforeStop < 6; ++askedBeforeStop) {
        SCOPED_TRACE(askedBeforeStop);
        orv::pack::PackOptions options;
        options.folder = folder.string();
        options.output = archive;
        int asked = 0;
        options.stop = [&] { return asked++ >= askedBeforeStop; };
        EXPECT_THROW(orv::pack::PackFolder(options, [](const std::string&) {}), orv::pack::PackError);
        EXPECT_EQ(ReadAll(archive), packed);
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(dir.path() / "out"))
            names.push_back(item.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"pictures.dat"});
    }
}
