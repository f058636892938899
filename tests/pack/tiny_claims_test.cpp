// Files of a few dozen bytes that claim pictures of hundreds of megabytes: orvpack ends
// each with its documented outcome, a clear refusal where it cannot use the file, and
// never holds more than its bound before it does (peak memory under 1.2 GB).
#include <zlib.h>

#include "orvpack_fixture.h"
#include "picture_bytes.h"
#include "sanitized.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;

namespace {

constexpr long kPeakLimitKb = 1200L * 1000;

void PutBe32(Bytes& bytes, std::uint32_t value)
{
    for (const int shift : {24, 16, 8, 0}) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutLe(Bytes& bytes, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PngChunk(Bytes& png, const std::string& tag, const Bytes& data)
{
    PutBe32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t from = png.size();
    png.insert(png.end(), tag.begin(), tag.end());
    png.insert(png.end(), data.begin(), data.end());
    PutBe32(png, static_cast<std::uint32_t>(crc32(0, png.data() + from, static_cast<uInt>(png.size() - from))));
}

// An RGB PNG whose header claims width x height and whose data holds one row's worth.
Bytes HugeClaimPng(std::uint32_t width, std::uint32_t height)
{
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(header, width);
    PutBe32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PngChunk(png, "IHDR", header);
    Bytes row(16, 0);
    uLongf packed = compressBound(static_cast<uLong>(row.size()));
    Bytes data(packed);
    compress(data.data(), &packed, row.data(), static_cast<uLong>(row.size()));
    data.resize(packed);
    PngChunk(png, "IDAT", data);
    PngChunk(png, "IEND", {});
    return png;
}

void RiffChunk(Bytes& file, const std::string& tag, const Bytes& data)
{
    file.insert(file.end(), tag.begin(), tag.end());
    PutLe(file, static_cast<std::uint32_t>(data.size()), 4);
    file.insert(file.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) file.push_back(0);
}

// An animated WebP whose canvas claims side x side pixels, with one frame of a single
// lossless pixel.
Bytes HugeCanvasWebp(std::uint32_t side)
{
    const Bytes pixel{0x2f, 0, 0, 0, 0, 0x07, 0x10, 0x11, 0xfd, 0x0f, 0x44, 0x44, 0xff, 0x03};
    Bytes canvas{0x12, 0, 0, 0};  // animation and alpha
    PutLe(canvas, side - 1, 3);
    PutLe(canvas, side - 1, 3);
    Bytes frame(15, 0);  // at 0, 0; 1 x 1 (stored less one); 100 ms at byte 12
    frame[12] = 100;
    RiffChunk(frame, "VP8L", pixel);
    Bytes body{'W', 'E', 'B', 'P'};
    RiffChunk(body, "VP8X", canvas);
    RiffChunk(body, "ANIM", Bytes(6, 0));
    RiffChunk(body, "ANMF", frame);
    Bytes file;
    RiffChunk(file, "RIFF", body);
    return file;
}

// A picture header claiming 65535 x 5040 pixels (990 MB) over a zero palette: 389 bytes.
Bytes HugeClaimPicture()
{
    return PictureBytes::Full(65535, 5040, {}, {});
}

}  // namespace

class TinyClaimsTest : public OrvpackTest {
protected:
    static void ExpectBounded(const Process::Result& result)
    {
        if (!kSanitized) {
            EXPECT_LT(result.peakKb, kPeakLimitKb) << result.err;
        }
    }
};

// A WebP canvas or a PNG that would take more than a picture block to decode is refused
// from its header, before libwebp or libpng allocates it.
TEST_F(TinyClaimsTest, HugeCanvasesAreRefusedFromTheirHeaders)
{
    const Bytes webp = HugeCanvasWebp(16384);
    ASSERT_LT(webp.size(), 100u);
    std::filesystem::create_directories(dir.path() / "webp");
    Write("webp/walk.webp", webp);
    Process::Result result
        = Pack({"--animation", "webp", "-o", (dir.path() / "w.dat").string(), (dir.path() / "webp").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("walk.webp: its canvas of 16384 x 16384 pixels would take more than"), std::string::npos)
        << result.err;
    ExpectBounded(result);

    const Bytes png = HugeClaimPng(16000, 16000);
    ASSERT_LT(png.size(), 80u);
    std::filesystem::create_directories(dir.path() / "sheet");
    Write("sheet/walk_sheet.png", png);
    Write("sheet/walk_sheet.json",
          BytesOf(R"({"frames": 1, "width": 16000, "height": 16000, "columns": 1, )"
                  R"("cells": [{"number": 1, "x": 0, "y": 0, "width": 16000, "height": 16000}]})"));
    result = Pack({"--animation", "sheet", "-o", (dir.path() / "s.dat").string(), (dir.path() / "sheet").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("walk_sheet.png: "), std::string::npos) << result.err;
    ExpectBounded(result);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "s.dat"));

    // A picture file of the folder claiming 16000 x 16000 pixels.
    std::filesystem::create_directories(dir.path() / "pictures");
    Write("pictures/big.png", png);
    result = Pack({"-o", (dir.path() / "p.dat").string(), (dir.path() / "pictures").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("big.png: "), std::string::npos) << result.err;
    ExpectBounded(result);
}

// A base whose picture claims 990 MB, before and after the edited entry: the entries the
// folder does not hold are kept without being drawn, and reading the archive back draws no
// picture again (a picture's canvas is cleared first), so packing an edit beside it stays small.
TEST_F(TinyClaimsTest, ABaseIsDrawnOnlyWhereTheFolderHoldsFiles)
{
    const orv::tools::PackItem huge{"huge.cg", HugeClaimPicture()};
    const orv::tools::PackItem text{"x.txt", BytesOf("x")};
    for (const bool hugeFirst : {true, false}) {
        SCOPED_TRACE(hugeFirst ? "the picture first" : "the picture last");
        const Bytes base = orv::tools::BuildPack(hugeFirst ? std::vector{huge, text} : std::vector{text, huge});
        ASSERT_LT(base.size(), 450u);
        const std::string basePath = Write("base.dat", base);
        std::filesystem::create_directories(dir.path() / "edit");
        Write("edit/x.txt", BytesOf("y"));
        const std::string out = (dir.path() / "new.dat").string();
        std::filesystem::remove(out);
        const Process::Result result = Pack({"--base", basePath, "-o", out, (dir.path() / "edit").string()});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.err.find("changed: x.txt"), std::string::npos) << result.err;
        ExpectBounded(result);
        const std::vector<TableEntry> entries = EntriesOf(ReadAll(out));
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[hugeFirst ? 0 : 1].bytes, HugeClaimPicture());
        EXPECT_EQ(entries[hugeFirst ? 1 : 0].bytes, BytesOf("y"));
    }
}
