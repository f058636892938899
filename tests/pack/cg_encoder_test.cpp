#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

#include "tools/cg_encoder.h"
#include "engine/read/image_decoder.h"

using orv::tools::Bytes;
using orv::tools::CgPicture;
using orv::tools::EncodeCg;

namespace {

constexpr int kLiteral = -1;

struct Token {
    int kind = kLiteral;  // kLiteral, 0 for a skip, 1 to 7 for a copy
    std::uint32_t length = 1;
};

struct Parsed {
    std::vector<Token> tokens;
    std::size_t unread = 0;  // bytes after the token that finishes the rectangle
};

// Reads the token stream that follows the header and palette, up to the token that
// finishes the rectangle's last row.
Parsed Tokens(const Bytes& entry)
{
    const bool rect = entry.at(0) == 2;
    auto field = [&](std::size_t at) { return static_cast<std::uint32_t>(entry.at(at) | entry.at(at + 1) << 8); };
    const std::uint32_t left = rect ? field(5) : 0, top = rect ? field(7) : 0;
    const std::uint32_t right = rect ? field(9) : field(1), bottom = rect ? field(11) : field(3);
    std::size_t at = rect ? 13 + 384 : 5 + 384;
    Parsed parsed;
    std::uint32_t x = left, y = top;
    while (at < entry.size() && y < bottom) {
        const std::uint8_t d = entry[at++];
        Token token;
        if (d < 0x80) {
            token = {d >> 4, d & 0x0Fu};
            if (token.length == 0) {
                token.length = 15;
                std::uint8_t extension = 255;
                while (extension == 255) {
                    extension = entry.at(at++);
                    token.length += extension;
                }
            }
        }
        parsed.tokens.push_back(token);
        x += token.length;
        if (x >= right) {
            ++y;
            x = left;
        }
    }
    parsed.unread = entry.size() - at;
    return parsed;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(to));
}

Bytes StreamOf(const Bytes& entry)
{
    return Slice(entry, entry.at(0) == 2 ? 13 + 384 : 5 + 384, entry.size());
}

// A palette whose entry i is blue i, green 255 - i, red (i * 37) mod 256: all distinct.
std::array<std::uint8_t, 384> DistinctPalette()
{
    std::array<std::uint8_t, 384> palette{};
    for (int i = 0; i < 128; ++i) {
        palette[i * 3] = static_cast<std::uint8_t>(i);
        palette[i * 3 + 1] = static_cast<std::uint8_t>(255 - i);
        palette[i * 3 + 2] = static_cast<std::uint8_t>(i * 37);
    }
    return palette;
}

CgPicture FullPicture(int width, int height)
{
    CgPicture picture;
    picture.width = static_cast<std::uint16_t>(width);
    picture.height = static_cast<std::uint16_t>(height);
    picture.palette = DistinctPalette();
    picture.pixels.assign(static_cast<std::size_t>(width * height), 0);
    return picture;
}

void Put(CgPicture& picture, int x, int y, int index)
{
    const auto at = static_cast<std::size_t>(y * picture.width + x);
    picture.pixels.at(at) = static_cast<std::uint8_t>(index);
}

int Get(const CgPicture& picture, int x, int y)
{
    return picture.pixels.at(static_cast<std::size_t>(y * picture.width + x));
}

void SetRect(CgPicture& picture, int left, int top, int right, int bottom)
{
    picture.type = 2;
    picture.left = static_cast<std::uint16_t>(left);
    picture.top = static_cast<std::uint16_t>(top);
    picture.right = static_cast<std::uint16_t>(right);
    picture.bottom = static_cast<std::uint16_t>(bottom);
}

// The canvas the picture should leave: `before`, with the rectangle painted from the
// palette.
Bytes Intended(const CgPicture& picture, const Bytes& before)
{
    const int width = picture.width;
    Bytes canvas = before;
    int left = 0, top = 0, right = width, bottom = picture.height;
    if (picture.type == 2) {
        left = picture.left;
        top = picture.top;
        right = picture.right;
        bottom = picture.bottom;
    }
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const auto at = static_cast<std::size_t>(y * width + x) * 3;
            const auto index = static_cast<std::size_t>(Get(picture, x, y));
            for (std::size_t c = 0; c < 3; ++c) canvas[at + c] = picture.palette[index * 3 + c];
        }
    }
    return canvas;
}

Bytes Decoded(const Bytes& entry, Bytes canvas)
{
    orv::DecodeImage(entry.data(), canvas.data(), static_cast<std::uint32_t>(entry.size()));
    return canvas;
}

Bytes ZeroCanvas(const CgPicture& picture)
{
    return Bytes(static_cast<std::size_t>(picture.width) * picture.height * 3, 0);
}

// Encodes over `before`, decodes onto a copy of it and compares with the intended canvas.
void ExpectRoundTrip(const CgPicture& picture, const Bytes& before)
{
    const Bytes entry = EncodeCg(picture, before);
    // At most a pad byte follows the token that finishes the rectangle.
    EXPECT_LE(Tokens(entry).unread, 1u);
    const Bytes intended = Intended(picture, before);
    const Bytes decoded = Decoded(entry, before);
    ASSERT_EQ(decoded.size(), intended.size());
    for (std::size_t i = 0; i < intended.size(); ++i) {
        ASSERT_EQ(decoded[i], intended[i]) << "pixel " << i / 3 << " of " << picture.width << "x" << picture.height;
    }
}

// Deterministic pseudo-random numbers for the generated pictures.
struct Lcg {
    std::uint32_t state;
    int Next(int bound)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(bound));
    }
};

// Mostly repeats of the pixel to the left or above, sometimes a fresh colour.
void FillPatchy(CgPicture& picture, Lcg& random, int colours)
{
    const int width = picture.width;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int pick = random.Next(10);
            if (pick < 4 && x > 0) {
                Put(picture, x, y, Get(picture, x - 1, y));
            } else if (pick < 8 && y > 0) {
                const int from = std::clamp(x + random.Next(5) - 2, 0, width - 1);
                Put(picture, x, y, Get(picture, from, y - 1));
            } else {
                Put(picture, x, y, random.Next(colours));
            }
        }
    }
}

}  // namespace

TEST(CgEncoder, FullPictureHeaderHoldsTypeSizeAndPalette)
{
    CgPicture picture = FullPicture(0x123, 2);
    const Bytes entry = EncodeCg(picture);
    ASSERT_GE(entry.size(), 5u + 384u);
    EXPECT_EQ(entry[0], 0);
    EXPECT_EQ(entry[1], 0x23);
    EXPECT_EQ(entry[2], 0x01);
    EXPECT_EQ(entry[3], 2);
    EXPECT_EQ(entry[4], 0);
    EXPECT_EQ(Slice(entry, 5, 5 + 384), Bytes(picture.palette.begin(), picture.palette.end()));
}

TEST(CgEncoder, RectanglePictureHeaderHoldsTheRectangle)
{
    CgPicture picture = FullPicture(300, 260);
    SetRect(picture, 1, 2, 299, 258);
    const Bytes entry = EncodeCg(picture);
    ASSERT_GE(entry.size(), 13u + 384u);
    EXPECT_EQ(Slice(entry, 0, 13), (Bytes{2, 44, 1, 4, 1, 1, 0, 2, 0, 43, 1, 2, 1}));
    EXPECT_EQ(Slice(entry, 13, 13 + 384), Bytes(picture.palette.begin(), picture.palette.end()));
}

TEST(CgEncoder, RunLengthsUseTheNibbleUpTo15AndExtensionBytesBeyond)
{
    // One row of a single colour: a literal, then the previous pixel repeated width - 1 times.
    // A one-byte run at the stream's end would not be carried out, so a pad byte follows it;
    // for one pixel a second literal is shorter than that.
    const std::vector<std::pair<int, Bytes>> cases{
        {2, {0x81, 0x81}},
        {16, {0x81, 0x1F, 0x00}},
        {17, {0x81, 0x10, 0x01}},
        {31, {0x81, 0x10, 0x0F}},
        {270, {0x81, 0x10, 0xFE}},
        {271, {0x81, 0x10, 0xFF, 0x00}},
        {273, {0x81, 0x10, 0xFF, 0x02}},
        {600, {0x81, 0x10, 0xFF, 0xFF, 0x4A}},
    };
    for (const auto& [width, stream] : cases) {
        SCOPED_TRACE(width);
        CgPicture picture = FullPicture(width, 1);
        picture.pixels.assign(static_cast<std::size_t>(width), 1);
        const Bytes entry = EncodeCg(picture);
        EXPECT_EQ(StreamOf(entry), stream);
        ExpectRoundTrip(picture, ZeroCanvas(picture));
    }
}

TEST(CgEncoder, LongSkipsAndCopiesOverManyRowsRoundTrip)
{
    CgPicture picture = FullPicture(701, 5);
    // Row 0 is black over the zero canvas; rows 1 and 2 are two long bars; rows 3 and 4 repeat
    // a short pattern.
    picture.palette[0] = picture.palette[1] = picture.palette[2] = 0;
    for (int x = 0; x < 701; ++x) {
        for (int y = 1; y <= 2; ++y) Put(picture, x, y, x < 350 ? 2 : 3);
        for (int y = 3; y <= 4; ++y) Put(picture, x, y, x % 5 + 4);
    }
    const Bytes entry = EncodeCg(picture);
    bool longSkip = false, longCopy = false;
    for (const Token& token : Tokens(entry).tokens) {
        longSkip = longSkip || (token.kind == 0 && token.length > 270);
        longCopy = longCopy || (token.kind > 0 && token.length > 270);
    }
    EXPECT_TRUE(longSkip);
    EXPECT_TRUE(longCopy);
    ExpectRoundTrip(picture, ZeroCanvas(picture));
}

TEST(CgEncoder, EachCopyKindIsUsedWhereOnlyItMatches)
{
    // Row 0 holds distinct colours; row 1 repeats it shifted so that only the copy kind
    // reading (x + shift, y - 1) matches. Edge pixels without a source get colours of
    // their own.
    const int shifts[8] = {0, 0, -3, -2, -1, 0, 1, 2};
    constexpr int width = 23;
    for (int kind = 2; kind < 8; ++kind) {
        SCOPED_TRACE(kind);
        CgPicture picture = FullPicture(width, 2);
        for (int x = 0; x < width; ++x) {
            Put(picture, x, 0, x + 1);
            const int from = x + shifts[kind];
            Put(picture, x, 1, from >= 0 && from < width ? from + 1 : 100 + x);
        }
        const auto expectedLength = static_cast<std::uint32_t>(width - std::abs(shifts[kind]));
        bool used = false;
        for (const Token& token : Tokens(EncodeCg(picture)).tokens)
            used = used || (token.kind == kind && token.length == expectedLength);
        EXPECT_TRUE(used);
        ExpectRoundTrip(picture, ZeroCanvas(picture));
    }
}

TEST(CgEncoder, PreviousPixelCopyRepeatsAcrossTheRowStart)
{
    // The last pixel of row 0 continues into row 1 through the previous-pixel copy.
    CgPicture picture = FullPicture(9, 2);
    for (int x = 0; x < 9; ++x) {
        Put(picture, x, 0, x + 1);
        Put(picture, x, 1, 9);
    }
    EXPECT_EQ(StreamOf(EncodeCg(picture)), (Bytes{0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x19, 0x00}));
    ExpectRoundTrip(picture, ZeroCanvas(picture));
}

TEST(CgEncoder, StreamEndingInALiteralOrALongRunHasNoPad)
{
    CgPicture picture = FullPicture(3, 1);
    picture.pixels = {1, 2, 3};
    EXPECT_EQ(StreamOf(EncodeCg(picture)), (Bytes{0x81, 0x82, 0x83}));
    ExpectRoundTrip(picture, ZeroCanvas(picture));
}

TEST(CgEncoder, IndicesOfTheSameColourCompareEqual)
{
    CgPicture picture = FullPicture(40, 1);
    for (int c = 0; c < 3; ++c) picture.palette[4 * 3 + c] = picture.palette[3 * 3 + c];
    for (int x = 0; x < 40; ++x) Put(picture, x, 0, 3 + x % 2);
    EXPECT_EQ(StreamOf(EncodeCg(picture)), (Bytes{0x83, 0x10, 39 - 15}));
    ExpectRoundTrip(picture, ZeroCanvas(picture));
}

TEST(CgEncoder, RectanglePictureLeavesTheRestOfTheCanvasAlone)
{
    CgPicture picture = FullPicture(41, 29);
    SetRect(picture, 5, 7, 30, 20);
    Lcg random{7};
    FillPatchy(picture, random, 6);
    Bytes before(static_cast<std::size_t>(41 * 29 * 3));
    for (std::uint8_t& byte : before) byte = static_cast<std::uint8_t>(random.Next(256));

    const Bytes decoded = Decoded(EncodeCg(picture, before), before);
    const Bytes intended = Intended(picture, before);
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 41; ++x) {
            const auto at = static_cast<std::size_t>(y * 41 + x) * 3;
            const Bytes& expected = x >= 5 && x < 30 && y >= 7 && y < 20 ? intended : before;
            ASSERT_EQ(Slice(decoded, at, at + 3), Slice(expected, at, at + 3)) << x << "," << y;
        }
    }
}

TEST(CgEncoder, RectanglePictureOverAnEmptyCanvasDrawsOnZeroes)
{
    CgPicture picture = FullPicture(96, 96);
    SetRect(picture, 16, 16, 80, 80);
    Lcg random{11};
    FillPatchy(picture, random, 5);
    ExpectRoundTrip(picture, ZeroCanvas(picture));
}

TEST(CgEncoder, EmptyRectangleGivesNoTokens)
{
    CgPicture picture = FullPicture(8, 8);
    SetRect(picture, 3, 3, 3, 6);
    const Bytes entry = EncodeCg(picture);
    EXPECT_EQ(entry.size(), 13u + 384u);
}

TEST(CgEncoder, GeneratedPicturesOfManyShapesRoundTrip)
{
    Lcg random{2024};
    for (int round = 0; round < 120; ++round) {
        const int width = 1 + random.Next(45);
        const int height = 1 + random.Next(12);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << width << "x" << height);
        CgPicture picture = FullPicture(width, height);
        FillPatchy(picture, random, 1 + random.Next(round % 2 == 0 ? 4 : 128));
        if (round % 3 == 0) {
            const int left = random.Next(width), top = random.Next(height);
            SetRect(picture, left, top, left + 1 + random.Next(width - left), top + 1 + random.Next(height - top));
        }
        Bytes before = ZeroCanvas(picture);
        if (round % 2 == 1) {
            for (std::size_t i = 0; i < before.size(); i += 3) {
                const auto index = static_cast<std::size_t>(random.Next(4));
                for (std::size_t c = 0; c < 3; ++c) before[i + c] = picture.palette[index * 3 + c];
            }
        }
        ExpectRoundTrip(picture, before);
    }
}

TEST(CgEncoder, DrawnPictureUsesSkipsCopiesAndLiterals)
{
    // Black sky with a few stars, a sloping striped hill and a disc.
    constexpr int width = 121, height = 67;
    CgPicture picture = FullPicture(width, height);
    picture.palette[0] = picture.palette[1] = picture.palette[2] = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int index = 0;
            if ((x * 7 + y * 13) % 97 == 0) index = 5;
            if (y > 40 - x / 6) index = 10 + (x + y) / 4 % 3;
            const int dx = x - 80, dy = y - 20;
            if (dx * dx + dy * dy < 144) index = 20 + (dx * dx + dy * dy) / 30;
            Put(picture, x, y, index);
        }
    }
    const Bytes entry = EncodeCg(picture);
    int skips = 0, copies = 0, literals = 0;
    for (const Token& token : Tokens(entry).tokens) {
        if (token.kind == kLiteral)
            ++literals;
        else if (token.kind == 0)
            ++skips;
        else
            ++copies;
    }
    EXPECT_GT(skips, 0);
    EXPECT_GT(copies, 0);
    EXPECT_GT(literals, 0);
    EXPECT_LT(entry.size(), static_cast<std::size_t>(width * height) / 4);
    ExpectRoundTrip(picture, ZeroCanvas(picture));
}

TEST(CgEncoder, RejectsPicturesItCannotEncode)
{
    CgPicture picture = FullPicture(4, 4);
    picture.pixels[5] = 128;
    EXPECT_THROW(EncodeCg(picture), std::invalid_argument);

    picture = FullPicture(4, 4);
    picture.pixels.pop_back();
    EXPECT_THROW(EncodeCg(picture), std::invalid_argument);

    picture = FullPicture(4, 4);
    SetRect(picture, 0, 0, 5, 4);
    EXPECT_THROW(EncodeCg(picture), std::invalid_argument);

    picture = FullPicture(4, 4);
    picture.type = 1;
    EXPECT_THROW(EncodeCg(picture), std::invalid_argument);

    picture = FullPicture(4, 4);
    EXPECT_THROW(EncodeCg(picture, Bytes(4 * 4 * 3 - 1)), std::invalid_argument);
}

TEST(CgEncoder, DrawnCanvasPaintsOnlyTheRectangle)
{
    // Palette entry i is (i, 255 - i, i * 37 mod 256) as blue, green, red.
    CgPicture picture = FullPicture(3, 2);
    SetRect(picture, 1, 0, 3, 1);
    Put(picture, 1, 0, 2);
    Put(picture, 2, 0, 5);
    Put(picture, 0, 1, 7);
    EXPECT_EQ(orv::tools::DrawnCanvas(picture, Bytes(18, 9)),
              (Bytes{9, 9, 9, 2, 253, 74, 5, 250, 185, 9, 9, 9, 9, 9, 9, 9, 9, 9}));
}

TEST(CgEncoder, DrawnCanvasOfAFullPictureOverNothing)
{
    CgPicture picture = FullPicture(2, 1);
    picture.pixels = {1, 0};
    EXPECT_EQ(orv::tools::DrawnCanvas(picture), (Bytes{1, 254, 37, 0, 255, 0}));
}

TEST(CgEncoder, DrawnCanvasIsWhatTheDecoderLeaves)
{
    CgPicture picture = FullPicture(41, 29);
    SetRect(picture, 5, 7, 30, 20);
    Lcg random{5};
    FillPatchy(picture, random, 6);
    Bytes before(static_cast<std::size_t>(41 * 29 * 3));
    for (std::uint8_t& byte : before) byte = static_cast<std::uint8_t>(random.Next(256));
    EXPECT_EQ(orv::tools::DrawnCanvas(picture, before), Decoded(EncodeCg(picture, before), before));
}

TEST(CgEncoder, DrawnCanvasRejectsWhatEncodingRejects)
{
    CgPicture picture = FullPicture(4, 4);
    EXPECT_THROW(orv::tools::DrawnCanvas(picture, Bytes(4 * 4 * 3 + 1)), std::invalid_argument);
    SetRect(picture, 2, 0, 1, 4);
    EXPECT_THROW(orv::tools::DrawnCanvas(picture), std::invalid_argument);
}
