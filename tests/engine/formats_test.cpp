// The on-disk formats, read and written by the same definitions: every expected byte
// below is written out by hand from the layouts.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/format/archive_table.h"
#include "engine/format/bmp_layout.h"
#include "engine/format/frame_table.h"
#include "engine/format/picture_header.h"
#include "engine/format/picture_tokens.h"
#include "engine/format/sound_format.h"
#include "engine/format/wave_header.h"

using namespace orv;

using Bytes = std::vector<std::uint8_t>;

TEST(ArchiveTable, HeaderAndRecordsAreWrittenAndReadAsLaidOut)
{
    Bytes header(kArchiveHeaderBytes);
    PutArchiveHeader(header.data(), 0x0102);
    EXPECT_EQ(header, (Bytes{'p', 'a', 'c', 'k', 0x02, 0x01}));
    EXPECT_TRUE(HasArchiveMagic(header.data()));
    EXPECT_EQ(ArchiveEntryCount(header.data()), 0x0102u);
    const Bytes upper{'P', 'A', 'C', 'K', 0xFF, 0xFF};
    EXPECT_FALSE(HasArchiveMagic(upper.data()));
    EXPECT_EQ(ArchiveEntryCount(upper.data()), 65535u);

    struct Case {
        std::string_view name;
        Bytes record;
        std::string_view read;  // the name as a record gives it back
    };
    const Case cases[] = {
        {"a.cg",
         {'a', '.', 'c', 'g', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0x0D, 0x0C, 0x0B, 0x0A},
         "a.cg"},
        {"", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0x0D, 0x0C, 0x0B, 0x0A}, ""},
        // Sixteen bytes fill the field with no NUL; a seventeenth is not stored.
        {"0123456789abcdefX",
         {'0', '1', '2', '3', '4',  '5',  '6',  '7',  '8',  '9',  'a',  'b',
          'c', 'd', 'e', 'f', 0x44, 0x33, 0x22, 0x11, 0x0D, 0x0C, 0x0B, 0x0A},
         "0123456789abcdef"},
    };
    for (const Case& c : cases) {
        Bytes record(kArchiveEntryBytes, 0xEE);
        PutArchiveRecord(record.data(), c.name, 0x11223344, 0x0A0B0C0D);
        EXPECT_EQ(record, c.record) << c.name;
        const ArchiveEntry entry = ParseArchiveEntry(c.record.data());
        EXPECT_EQ(entry.Name(), c.read);
        EXPECT_EQ(entry.offset, 0x11223344u);
        EXPECT_EQ(entry.size, 0x0A0B0C0Du);
    }
}

TEST(PictureHeader, TypeSizeAndTheRectangleOfARectanglePicture)
{
    struct Case {
        PictureHeader header;
        PictureRect rect;  // written for type 2 only
        Bytes bytes;
        PictureRect drawn;
        std::uint32_t paletteAt;
    };
    const Case cases[] = {
        {{0, 0x0102, 0x0304}, {1, 2, 3, 4}, {0x00, 0x02, 0x01, 0x04, 0x03}, {0, 0, 0x0102, 0x0304}, 5},
        {{2, 640, 480},
         {1, 2, 0x0203, 300},
         {0x02, 0x80, 0x02, 0xE0, 0x01, 0x01, 0x00, 0x02, 0x00, 0x03, 0x02, 0x2C, 0x01},
         {1, 2, 0x0203, 300},
         13},
    };
    for (const Case& c : cases) {
        Bytes out;
        AppendPictureHeader(out, c.header, c.rect);
        EXPECT_EQ(out, c.bytes);
        const PictureHeader read = ReadPictureHeader(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
        EXPECT_EQ(read.type, c.header.type);
        EXPECT_EQ(read.width, c.header.width);
        EXPECT_EQ(read.height, c.header.height);
        const PictureRect drawn = ReadPictureRect(c.bytes.data());
        EXPECT_EQ((std::vector<int>{drawn.left, drawn.top, drawn.right, drawn.bottom}),
                  (std::vector<int>{c.drawn.left, c.drawn.top, c.drawn.right, c.drawn.bottom}));
        EXPECT_EQ(PaletteOffset(c.header.type), c.paletteAt);
    }
}

TEST(PictureTokens, CopyDistancesInPixelsForAWidth)
{
    // Kinds 1 to 7: the previous pixel, then w + 3, w + 2, w + 1, w, w - 1, w - 2 back.
    const std::vector<std::pair<std::int64_t, CopyDistances>> cases{
        {1, {0, 1, 4, 3, 2, 1, 0, -1}},
        {2, {0, 1, 5, 4, 3, 2, 1, 0}},
        {10, {0, 1, 13, 12, 11, 10, 9, 8}},
        {640, {0, 1, 643, 642, 641, 640, 639, 638}},
    };
    for (const auto& [width, distances] : cases) EXPECT_EQ(CopyDistancesFor(width), distances) << width;
}

TEST(PictureTokens, RunsAreTheNibbleOr15PlusExtensionBytes)
{
    struct Case {
        unsigned kind;
        std::uint32_t pixels;
        Bytes token;
    };
    const Case cases[] = {
        {1, 3, {0x13}},
        {0, 3, {0x03}},
        {1, 15, {0x1F}},
        {1, 16, {0x10, 0x01}},
        {2, 269, {0x20, 0xFE}},
        {7, 270, {0x70, 0xFF, 0x00}},
        {5, 272, {0x50, 0xFF, 0x02}},
        {0, 525, {0x00, 0xFF, 0xFF, 0x00}},
    };
    for (const Case& c : cases) {
        Bytes out;
        AppendRun(out, c.kind, c.pixels);
        EXPECT_EQ(out, c.token) << c.kind << " " << c.pixels;
        EXPECT_EQ(RunTokenBytes(c.pixels), c.token.size()) << c.pixels;
        EXPECT_FALSE(IsLiteral(c.token[0]));
        EXPECT_EQ(RunKind(c.token[0]), c.kind);
        EXPECT_EQ(RunNibble(c.token[0]), c.pixels <= 15 ? c.pixels : 0u);
    }
    EXPECT_TRUE(IsLiteral(0x80));
    EXPECT_FALSE(IsLiteral(0x7F));
    EXPECT_EQ(LiteralIndex(0x85), 5);
    EXPECT_EQ(LiteralIndex(0xFF), 127);
    EXPECT_EQ(LiteralToken(5), 0x85);
}

TEST(FrameTable, OffsetsFromTheStartOfTheDataAndTheCountFromTheFirst)
{
    Bytes table;
    const std::vector<std::uint32_t> sizes{3, 0, 1, 0x120};
    AppendFrameTable(table, sizes);
    EXPECT_EQ(table, (Bytes{16, 0, 0, 0, 19, 0, 0, 0, 19, 0, 0, 0, 20, 0, 0, 0}));
    AppendFrameTable(table, {});
    EXPECT_EQ(table.size(), 16u);

    const Bytes data{8, 0, 0, 0, 0x34, 0x01, 0, 0, 0xAA};
    EXPECT_EQ(AnimationFrameCount(data.data(), 9), 2u);
    EXPECT_EQ(AnimationFrameOffset(data.data(), 1), 8u);
    EXPECT_EQ(AnimationFrameOffset(data.data(), 2), 0x134u);
    // A first offset of 10 holds two whole slots; the data may hold fewer.
    const Bytes odd{10, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(FrameTableBytes(odd.data()), 8u);
    EXPECT_EQ(AnimationFrameCount(odd.data(), 8), 2u);
    EXPECT_EQ(AnimationFrameCount(odd.data(), 7), 1u);
    EXPECT_EQ(AnimationFrameCount(odd.data(), 3), 0u);
}

TEST(SoundFormat, CodesAndFormatsBothWays)
{
    struct Case {
        std::uint8_t code;
        std::uint16_t channels;
        std::uint32_t rate;
        std::uint16_t blockAlign;
    };
    for (const Case& c : {Case{6, 1, 22050, 2}, Case{7, 2, 22050, 4}, Case{10, 2, 44100, 4}}) {
        const std::optional<SoundFormat> format = SoundFormatOf(c.code);
        ASSERT_TRUE(format) << int{c.code};
        EXPECT_EQ(format->channels, c.channels);
        EXPECT_EQ(format->rate, c.rate);
        EXPECT_EQ(format->blockAlign, c.blockAlign);
        EXPECT_EQ(SoundCodeOf(c.channels, c.rate), c.code);
    }
    for (const std::uint8_t code : {0, 1, 5, 8, 9, 11, 255}) EXPECT_FALSE(SoundFormatOf(code)) << int{code};
    for (const auto& [channels, rate] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
             {1, 44100}, {2, 11025}, {1, 22051}, {0, 22050}, {3, 22050}})
        EXPECT_FALSE(SoundCodeOf(channels, rate)) << channels << " " << rate;
}

TEST(WaveHeader, FortyFourBytesOf16BitPcm)
{
    struct Case {
        SoundFormat format;
        std::uint32_t dataLength;
        Bytes header;
    };
    const Case cases[] = {
        {{2, 44100, 4}, 8, {'R',  'I',  'F',  'F',  0x2C, 0x00, 0x00, 0x00, 'W',  'A',  'V',  'E',  'f',  'm',  't',
                            ' ',  0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1,
                            0x02, 0x00, 0x04, 0x00, 0x10, 0x00, 'd',  'a',  't',  'a',  0x08, 0x00, 0x00, 0x00}},
        {{1, 22050, 2}, 0x01020304, {'R',  'I',  'F',  'F',  0x28, 0x03, 0x02, 0x01, 'W',  'A',  'V',
                                     'E',  'f',  'm',  't',  ' ',  0x10, 0x00, 0x00, 0x00, 0x01, 0x00,
                                     0x01, 0x00, 0x22, 0x56, 0x00, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x02,
                                     0x00, 0x10, 0x00, 'd',  'a',  't',  'a',  0x04, 0x03, 0x02, 0x01}},
    };
    for (const Case& c : cases) {
        Bytes header(kWaveHeaderBytes, 0xEE);
        FillWaveHeader(header.data(), c.format, c.dataLength);
        EXPECT_EQ(header, c.header) << c.format.rate;
    }
}

TEST(BmpLayout, HeadersAndRowsPaddedToFourBytes)
{
    Bytes headers(kBmpPixelOffset, 0xEE);
    FillBmpFileHeader(headers.data(), 54 + 24, 54);
    FillBmpInfoHeader(headers.data() + kBmpFileHeaderBytes, 3, -2, 24);
    const Bytes expected{'B',  'M',  0x4E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00,
                         0x28, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0x01, 0x00,
                         0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(headers, expected);

    struct Case {
        std::uint64_t width;
        std::uint32_t bits;
        std::uint64_t stride;
    };
    for (const Case& c : {Case{0, 24, 0}, Case{1, 24, 4}, Case{3, 24, 12}, Case{4, 24, 12}, Case{5, 24, 16},
                          Case{3, 8, 4}, Case{5, 8, 8}, Case{1, 32, 4}, Case{9, 1, 4}, Case{33, 1, 8}})
        EXPECT_EQ(BmpStride(c.width, c.bits), c.stride) << c.width << " x " << c.bits;
}
