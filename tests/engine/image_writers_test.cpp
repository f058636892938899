#include <gtest/gtest.h>

#include "bmp_header.h"
#include "engine_fixture.h"
#include "engine/base/fatal_error.h"
#include "engine/output/png_writer.h"
#include "png_reader.h"
#include "engine/output/image_writers.h"

using namespace orv;
using orv::tools::Bytes;

namespace {

// A bitmap information block: 40-byte header, then colour table entries.
Bytes InfoBlock(std::int32_t width, std::int32_t height, int bitCount, std::uint32_t compression = 0,
                std::uint32_t coloursUsed = 0, const Bytes& table = {})
{
    Bytes block(40, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, static_cast<std::uint32_t>(width));
    put32(8, static_cast<std::uint32_t>(height));
    block[12] = 1;
    block[14] = static_cast<std::uint8_t>(bitCount);
    put32(16, compression);
    put32(32, coloursUsed);
    block.resize(40 + 1024, 0);
    std::copy(table.begin(), table.end(), block.begin() + 40);
    return block;
}

}  // namespace

class ImageWritersTest : public EngineTest {
protected:
    ImageWritersTest() { converter.outDir = exeDir().string() + "/"; }
    std::string Out(const std::string& name) const { return converter.outDir + name; }
};

TEST_F(ImageWritersTest, UnencodableBitmapsCreateNoFile)
{
    const Bytes pixels(64, 0);
    EXPECT_EQ(SaveDibAsPng(Out("16.png").c_str(), InfoBlock(2, 2, 16).data(), pixels.data()), kPngCannotEncode);
    EXPECT_EQ(SaveDibAsPng(Out("bf.png").c_str(), InfoBlock(2, 2, 24, 3).data(), pixels.data()), kPngCannotEncode);
    EXPECT_EQ(SaveDibAsPng(exeDir().c_str(), InfoBlock(2, 2, 24).data(), pixels.data()), kPngNotCreated);
    EXPECT_TRUE(FilesIn(exeDir()).empty());
}

TEST_F(ImageWritersTest, ZeroSizedPngIsALibraryFailureLeavingWhatThePathHeld)
{
    const Bytes pixels(4, 0);
    EXPECT_EQ(SaveDibAsPng(Out("z.png").c_str(), InfoBlock(0, 1, 24).data(), pixels.data()), kPngLibraryFailed);
    EXPECT_TRUE(FilesIn(exeDir()).empty());
    ASSERT_TRUE(orv::tools::WriteFileBytes(Out("z.png"), orv::tools::BytesOf("earlier")));
    EXPECT_EQ(SaveDibAsPng(Out("z.png").c_str(), InfoBlock(0, 1, 24).data(), pixels.data()), kPngLibraryFailed);
    EXPECT_EQ(ReadAll(Out("z.png")), orv::tools::BytesOf("earlier"));
}

TEST_F(ImageWritersTest, TwentyFourBitsComeOutRgbTopRowFirst)
{
    // 1 x 2, bottom row first in memory, rows of 4 bytes.
    const Bytes pixels{0x10, 0x20, 0x30, 0xFF, 0x01, 0x02, 0x03, 0xFF};
    ASSERT_EQ(SaveDibAsPng(Out("p.png").c_str(), InfoBlock(1, 2, 24).data(), pixels.data()), kPngWritten);
    const auto png = ReadPngFile(Out("p.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->rows, (std::vector<Bytes>{{0x03, 0x02, 0x01}, {0x30, 0x20, 0x10}}));
    EXPECT_EQ(png->chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST_F(ImageWritersTest, ThirtyTwoBitsComeOutRgba)
{
    const Bytes pixels{0x10, 0x20, 0x30, 0x40};
    ASSERT_EQ(SaveDibAsPng(Out("a.png").c_str(), InfoBlock(1, 1, 32).data(), pixels.data()), kPngWritten);
    const auto png = ReadPngFile(Out("a.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->colourType, PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_EQ(png->rows[0], (Bytes{0x30, 0x20, 0x10, 0x40}));
}

TEST_F(ImageWritersTest, PalettesComeFromTheColourTable)
{
    // 1 bit, one colour used: entry 0 from the table, entry 1 black.
    const Bytes oneBit{0x80, 0, 0, 0};  // pixel 0 is index 1
    ASSERT_EQ(SaveDibAsPng(Out("1.png").c_str(), InfoBlock(2, 1, 1, 0, 1, {0x11, 0x22, 0x33, 0}).data(), oneBit.data()),
              kPngWritten);
    const auto mono = ReadPngFile(Out("1.png"));
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->colourType, PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(mono->bitDepth, 1);
    ASSERT_EQ(mono->palette.size(), 2u);
    EXPECT_EQ(mono->palette[0].red, 0x33);
    EXPECT_EQ(mono->palette[0].blue, 0x11);
    EXPECT_EQ(mono->palette[1].red | mono->palette[1].green | mono->palette[1].blue, 0);
    EXPECT_EQ(mono->rows[0][0] >> 6, 2);  // index 1, then index 0

    // 8 bits through the window operation: 256 entries, entry i = (byte 2, 1, 0).
    Bytes table(1024);
    for (int i = 0; i < 256; ++i) {
        table[4 * i] = static_cast<std::uint8_t>(i);
        table[4 * i + 1] = static_cast<std::uint8_t>(255 - i);
        table[4 * i + 2] = static_cast<std::uint8_t>(i / 2);
    }
    const Bytes indices{7, 200, 0, 0};
    DibInfo info{2, 1, 8, 4, 4, 1078};
    converter.WritePngFile(indices.data(), info, Out("8.png"), table.data());
    const auto eight = ReadPngFile(Out("8.png"));
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->bitDepth, 8);
    ASSERT_EQ(eight->palette.size(), 256u);
    EXPECT_EQ(eight->palette[200].red, 100);
    EXPECT_EQ(eight->palette[200].green, 55);
    EXPECT_EQ(eight->palette[200].blue, 200);
    EXPECT_EQ(eight->rows[0], (Bytes{7, 200}));

    // The BMP of the same picture holds the table between headers and pixels.
    converter.WriteBmpFile(indices.data(), info, Out("8.bmp"), table.data());
    const Bytes bmp = ReadAll(Out("8.bmp"));
    ASSERT_EQ(bmp.size(), 1078u + 4u);
    EXPECT_EQ(ParseBmpHeader(bmp).fileSize, 1082u);
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 1078), table);
    EXPECT_EQ(Bytes(bmp.begin() + 1078, bmp.end()), indices);
}

TEST_F(ImageWritersTest, OnePixelBmpAndRewritingReplacesTheFile)
{
    const Bytes pixels{0x10, 0x20, 0x30, 0x00};
    const DibInfo info{1, 1, 24, 4, 4, 54};
    converter.WriteBmpFile(Bytes(400, 0xEE).data(), DibInfo{10, 10, 24, 32, 320, 54}, Out("one.bmp"), nullptr);
    converter.WriteBmpFile(pixels.data(), info, Out("one.bmp"), nullptr);
    const Bytes file = ReadAll(Out("one.bmp"));
    EXPECT_EQ(file.size(), 58u);
    EXPECT_EQ(ParseBmpHeader(file).fileSize, 58u);
    EXPECT_EQ(Bytes(file.begin() + 54, file.end()), pixels);
}

TEST_F(ImageWritersTest, PngFailuresAreThePngErrorWithThePath)
{
    std::filesystem::create_directory(exeDir() / "taken.png");
    try {
        converter.WritePngFile(Bytes(4).data(), DibInfo{1, 1, 24, 4, 4, 54}, Out("taken.png"), nullptr);
        FAIL() << "a folder cannot be written as a PNG";
    } catch (const FatalError& error) {
        EXPECT_EQ(std::string(error.what()), "PNG出力エラー！\n" + Out("taken.png") + "\n終了します。");
    }
}
