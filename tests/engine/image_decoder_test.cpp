#include <gtest/gtest.h>

#include <array>

#include "engine/read/image_decoder.h"
#include "picture_bytes.h"

using orv::DecodeImage;
using Bytes = std::vector<std::uint8_t>;
using Pixel = std::array<std::uint8_t, 3>;

namespace {

// A canvas of width x height pixels, every pixel set to fill.
Bytes Canvas(int width, int height, Pixel fill = {0, 0, 0})
{
    Bytes canvas;
    for (int i = 0; i < width * height; ++i) canvas.insert(canvas.end(), fill.begin(), fill.end());
    return canvas;
}

Pixel At(const Bytes& canvas, int width, int x, int y)
{
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return {canvas[at], canvas[at + 1], canvas[at + 2]};
}

void Decode(const Bytes& picture, Bytes& canvas)
{
    DecodeImage(picture.data(), canvas.data(), static_cast<std::uint32_t>(picture.size()));
}

constexpr Pixel kEntry0{0x10, 0x20, 0x30};
constexpr Pixel kEntry1{0x40, 0x50, 0x60};
constexpr Pixel kEntry2{0x70, 0x80, 0x90};
constexpr Pixel kOld{0xAA, 0xBB, 0xCC};
const std::initializer_list<PictureBytes::Colour> kColours{
    {0, 0x10, 0x20, 0x30}, {1, 0x40, 0x50, 0x60}, {2, 0x70, 0x80, 0x90}, {5, 1, 2, 3}};

}  // namespace

TEST(DecodeImage, TwoByTwoWorkedExample)
{
    Bytes canvas = Canvas(2, 2, kOld);
    Decode(PictureBytes::Full(2, 2, kColours, {0x80, 0x11, 0x51, 0x81}), canvas);
    EXPECT_EQ(At(canvas, 2, 0, 0), kEntry0);
    EXPECT_EQ(At(canvas, 2, 1, 0), kEntry0);
    EXPECT_EQ(At(canvas, 2, 0, 1), kEntry0);
    EXPECT_EQ(At(canvas, 2, 1, 1), kEntry1);
}

TEST(DecodeImage, RectangleWorkedExampleKeepsEverythingAround)
{
    for (const bool withFinalSkip : {true, false}) {
        Bytes canvas = Canvas(4, 4, kOld);
        const Bytes picture = withFinalSkip
            ? PictureBytes::Rect(4, 4, 1, 1, 3, 3, kColours, {0x81, 0x82, 0x51, 0x11, 0x00})
            : PictureBytes::Rect(4, 4, 1, 1, 3, 3, kColours, {0x81, 0x82, 0x51, 0x11});
        Decode(picture, canvas);
        EXPECT_EQ(At(canvas, 4, 1, 1), kEntry1);
        EXPECT_EQ(At(canvas, 4, 2, 1), kEntry2);
        EXPECT_EQ(At(canvas, 4, 1, 2), kEntry1);
        // The run 11 as the stream's last byte is not carried out.
        EXPECT_EQ(At(canvas, 4, 2, 2), withFinalSkip ? kEntry1 : kOld);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                if (x >= 1 && x < 3 && y >= 1 && y < 3) continue;
                EXPECT_EQ(At(canvas, 4, x, y), kOld) << x << "," << y;
            }
        }
    }
}

TEST(DecodeImage, LiteralsRunsAndSkips)
{
    // 0x85: entry 5; 0x13 repeats it three times; 0x03 skips three pixels.
    Bytes canvas = Canvas(8, 1, kOld);
    Decode(PictureBytes::Full(8, 1, kColours, {0x85, 0x13, 0x03, 0x81}), canvas);
    const Pixel entry5{1, 2, 3};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(canvas, 8, x, 0), entry5) << x;
    for (int x = 4; x < 7; ++x) EXPECT_EQ(At(canvas, 8, x, 0), kOld) << x;
    EXPECT_EQ(At(canvas, 8, 7, 0), kEntry1);
}

TEST(DecodeImage, ExtendedRunCopies272PixelsFromTheRowAbove)
{
    // Row 0: 272 literals alternating two entries; row 1: 0x50 0xFF 0x02.
    Bytes tokens;
    for (int x = 0; x < 272; ++x) tokens.push_back(x % 3 == 0 ? 0x81 : 0x82);
    for (std::uint8_t b : {0x50, 0xFF, 0x02}) tokens.push_back(b);
    Bytes picture = PictureBytes::Full(272, 3, kColours, {});
    picture.insert(picture.end(), tokens.begin(), tokens.end());
    Bytes canvas = Canvas(272, 3, kOld);
    Decode(picture, canvas);
    for (int x = 0; x < 272; ++x) EXPECT_EQ(At(canvas, 272, x, 1), At(canvas, 272, x, 0)) << x;
    EXPECT_EQ(At(canvas, 272, 0, 2), kOld);
}

TEST(DecodeImage, RunsLongerThanTheirDistanceRepeatWhatTheyJustWrote)
{
    // Width 2: a kind 5 run of 6 pixels reads 2 pixels back, so rows 1 to 3 repeat row 0.
    // (A run that is the stream's last byte is not carried out: a 00 follows each.)
    Bytes narrow = Canvas(2, 5, kOld);
    Decode(PictureBytes::Full(2, 5, kColours, {0x80, 0x81, 0x56, 0x00}), narrow);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(At(narrow, 2, 0, y), kEntry0) << y;
        EXPECT_EQ(At(narrow, 2, 1, y), kEntry1) << y;
    }
    EXPECT_EQ(At(narrow, 2, 0, 4), kOld);

    // Width 3: a kind 6 run of 7 pixels reads 2 pixels back, so it alternates the
    // last two pixels of row 0.
    Bytes three = Canvas(3, 4, kOld);
    Decode(PictureBytes::Full(3, 4, kColours, {0x80, 0x81, 0x82, 0x67, 0x00}), three);
    const Pixel expected[] = {kEntry1, kEntry2, kEntry1, kEntry2, kEntry1, kEntry2, kEntry1};
    for (int p = 0; p < 7; ++p) EXPECT_EQ(At(three, 3, (p + 3) % 3, (p + 3) / 3), expected[p]) << p;
    EXPECT_EQ(At(three, 3, 1, 3), kOld);

    // A kind 1 run of 25 (0x10, then 10 past 15) repeats one pixel 25 times.
    Bytes row = Canvas(40, 1, kOld);
    Decode(PictureBytes::Full(40, 1, kColours, {0x82, 0x10, 0x0A}), row);
    for (int x = 0; x <= 25; ++x) EXPECT_EQ(At(row, 40, x, 0), kEntry2) << x;
    for (int x = 26; x < 40; ++x) EXPECT_EQ(At(row, 40, x, 0), kOld) << x;
}

TEST(DecodeImage, ExtensionLengths)
{
    // 0x10 0x00 is a kind 1 run of 15, like 0x1F.
    Bytes a = Canvas(17, 1, kOld), b = Canvas(17, 1, kOld);
    Decode(PictureBytes::Full(17, 1, kColours, {0x81, 0x10, 0x00, 0x82}), a);
    Decode(PictureBytes::Full(17, 1, kColours, {0x81, 0x1F, 0x82}), b);
    EXPECT_EQ(a, b);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(At(a, 17, x, 0), kEntry1) << x;
    EXPECT_EQ(At(a, 17, 16, 0), kEntry2);

    // 0x00 0xFF 0xFF 0x00 skips 525 pixels: the next literal lands at column 525.
    Bytes wide = Canvas(530, 1, kOld);
    Decode(PictureBytes::Full(530, 1, kColours, {0x00, 0xFF, 0xFF, 0x00, 0x81}), wide);
    EXPECT_EQ(At(wide, 530, 524, 0), kOld);
    EXPECT_EQ(At(wide, 530, 525, 0), kEntry1);
}

TEST(DecodeImage, StreamsEndingInsideARunDrawNothingMore)
{
    for (const Bytes& tail : {Bytes{0x13}, Bytes{0x10, 0xFF}, Bytes{0x10}}) {
        Bytes picture = PictureBytes::Full(8, 1, kColours, {0x81});
        picture.insert(picture.end(), tail.begin(), tail.end());
        Bytes canvas = Canvas(8, 1, kOld);
        Decode(picture, canvas);
        EXPECT_EQ(At(canvas, 8, 0, 0), kEntry1);
        EXPECT_EQ(At(canvas, 8, 1, 0), kOld);
    }
    // A literal as the last byte is still drawn.
    Bytes canvas = Canvas(2, 1, kOld);
    Decode(PictureBytes::Full(2, 1, kColours, {0x81, 0x82}), canvas);
    EXPECT_EQ(At(canvas, 2, 1, 0), kEntry2);
}

TEST(DecodeImage, CopyFromAboveTheCanvasEndsDecoding)
{
    Bytes canvas = Canvas(3, 2, kOld);
    Decode(PictureBytes::Full(3, 2, kColours, {0x51, 0x81, 0x81}), canvas);
    EXPECT_EQ(canvas, Canvas(3, 2, kOld));

    // Kind 2 at column 0 of the second row also reaches before the canvas.
    Bytes second = Canvas(3, 2, kOld);
    Decode(PictureBytes::Full(3, 2, kColours, {0x80, 0x12, 0x21, 0x81}), second);
    EXPECT_EQ(At(second, 3, 2, 0), kEntry0);
    EXPECT_EQ(At(second, 3, 0, 1), kOld);
    EXPECT_EQ(At(second, 3, 1, 1), kOld);

    // Kind 6 at the right end of the first row wraps to its start and goes on.
    Bytes wrap = Canvas(3, 2, kOld);
    Decode(PictureBytes::Full(3, 2, kColours, {0x81, 0x82, 0x61, 0x80}), wrap);
    EXPECT_EQ(At(wrap, 3, 2, 0), kEntry1);
    EXPECT_EQ(At(wrap, 3, 0, 1), kEntry0);
}

TEST(DecodeImage, RunExcessFillsTheNextRowAndTheRowRestartsAtLeft)
{
    Bytes canvas = Canvas(3, 2);
    Decode(PictureBytes::Full(3, 2, kColours, {0x81, 0x14, 0x03, 0x03}), canvas);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(At(canvas, 3, x, 0), kEntry1) << x;
    EXPECT_EQ(At(canvas, 3, 0, 1), kEntry1);
    EXPECT_EQ(At(canvas, 3, 1, 1), kEntry1);
    EXPECT_EQ(At(canvas, 3, 2, 1), (Pixel{0, 0, 0}));

    // A skip past the right edge ends the row; the next token starts at left.
    Bytes skipped = Canvas(4, 2, kOld);
    Decode(PictureBytes::Rect(4, 2, 1, 0, 3, 2, kColours, {0x05, 0x81, 0x82}), skipped);
    EXPECT_EQ(At(skipped, 4, 1, 1), kEntry1);
    EXPECT_EQ(At(skipped, 4, 2, 1), kEntry2);
}

TEST(DecodeImage, TopRowOfARectangleCopiesFromTheCanvasRowAbove)
{
    Bytes canvas = Canvas(3, 3, kOld);
    for (std::uint8_t i = 0; i < 9; ++i) canvas[i] = i;  // row 0: three distinct pixels
    const Bytes before = canvas;
    // The trailing 00 lies after the rectangle's end and is never a token.
    Decode(PictureBytes::Rect(3, 3, 0, 1, 3, 2, kColours, {0x53, 0x00}), canvas);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(At(canvas, 3, x, 1), At(before, 3, x, 0)) << x;
        EXPECT_EQ(At(canvas, 3, x, 2), kOld) << x;
    }
}

TEST(DecodeImage, TrailingBytesAfterTheRectangleAreIgnored)
{
    Bytes canvas = Canvas(2, 2, kOld);
    Decode(PictureBytes::Full(1, 1, kColours, {0x81, 0x82, 0x82, 0x82}), canvas);
    EXPECT_EQ(At(canvas, 2, 0, 0), kEntry1);
    EXPECT_EQ(At(canvas, 2, 1, 0), kOld);
}

TEST(DecodeImage, NothingIsDrawnOutsideTheCanvas)
{
    // A run on the last row that would pass the canvas's end stops, and a
    // rectangle lying outside the canvas draws nothing.
    Bytes guarded = Canvas(3, 2, kOld);
    guarded.resize(guarded.size() + 64, 0xEE);
    Decode(PictureBytes::Full(3, 2, kColours, {0x81, 0x12, 0x1F, 0x81}), guarded);
    EXPECT_EQ(At(guarded, 3, 0, 1), kOld);
    for (std::size_t i = 18; i < guarded.size(); ++i) ASSERT_EQ(guarded[i], 0xEE) << i;

    Bytes outside = Canvas(3, 2, kOld);
    outside.resize(outside.size() + 64, 0xEE);
    Decode(PictureBytes::Rect(3, 2, 5, 5, 9, 9, kColours, {0x81, 0x81, 0x81}), outside);
    Bytes expected = Canvas(3, 2, kOld);
    expected.resize(expected.size() + 64, 0xEE);
    EXPECT_EQ(outside, expected);

    // Width 0: no canvas at all.
    Bytes none(16, 0xEE);
    Decode(PictureBytes::Full(0, 5, kColours, {0x81, 0x11}), none);
    EXPECT_EQ(none, Bytes(16, 0xEE));
}

TEST(DecodeImage, ShortHeadersReadOnlyTheEntry)
{
    // A picture cut inside its palette: nothing past its bytes is read (the
    // sanitizer build checks this), and there is no token stream to draw.
    const Bytes full = PictureBytes::Full(2, 2, kColours, {0x81});
    Bytes canvas = Canvas(2, 2, kOld);
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        const Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        Decode(part, canvas);
        ASSERT_EQ(canvas, Canvas(2, 2, kOld)) << cut;
    }
    Decode(full, canvas);
    EXPECT_EQ(At(canvas, 2, 0, 0), kEntry1);
}
