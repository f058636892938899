#include <gtest/gtest.h>

#include "engine_fixture.h"

using namespace orv;
using orv::tools::Bytes;
using orv::tools::BytesOf;

TEST(FrameSuffix, AtLeastFourDigitsOrNothing)
{
    EXPECT_EQ(FrameSuffix(-1), "");
    EXPECT_EQ(FrameSuffix(0), "_0000");
    EXPECT_EQ(FrameSuffix(3), "_0003");
    EXPECT_EQ(FrameSuffix(12345), "_12345");
}

class DumpEntryTest : public EngineTest {
protected:
    DumpEntryTest() { converter.outDir = exeDir().string() + "/"; }

    static ArchiveEntry Entry(std::string_view name, std::uint32_t size)
    {
        Bytes record;
        tools::AppendRecord(record, name, 0, size);
        return ParseArchiveEntry(record.data());
    }
};

TEST_F(DumpEntryTest, WritesTheEntrysBytesUnderItsNameAndShowsThePathFirst)
{
    const Bytes content = BytesOf("line one\r\nline two\0tail");
    converter.DumpEntry(content.data(), Entry("readme.txt", static_cast<std::uint32_t>(content.size())), -1);
    EXPECT_EQ(ReadAll(exeDir() / "readme.txt"), content);
    EXPECT_EQ(view.calls, std::vector<std::string>{"output " + converter.outDir + "readme.txt"});
}

TEST_F(DumpEntryTest, FrameNumbersFollowTheWholeName)
{
    const Bytes frame = BytesOf("frame bytes");
    converter.DumpEntry(frame.data(), Entry("op.ani", 5), 7);
    EXPECT_EQ(ReadAll(exeDir() / "op.ani_0007"), BytesOf("frame"));
}

TEST_F(DumpEntryTest, EmptyEntryGivesAnEmptyFileAndRepeatingLeavesOne)
{
    const Bytes none;
    converter.DumpEntry(none.data(), Entry("empty.bin", 0), -1);
    converter.DumpEntry(none.data(), Entry("empty.bin", 0), -1);
    EXPECT_EQ(FilesIn(exeDir()), std::vector<std::string>{"empty.bin"});
    EXPECT_EQ(ReadAll(exeDir() / "empty.bin"), Bytes{});
}
