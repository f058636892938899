// The encoder against the engine's decoder and against an exhaustive search for the
// shortest stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <stdexcept>
#include <vector>

#include "engine/read/image_decoder.h"
#include "pack/encode/cg_picture.h"
#include "pack/encode/picture_encoder.h"
#include "pack/encode/quantize.h"

using orv::pack::Bytes;
using orv::pack::CgPicture;
using orv::pack::Picture;

namespace {

struct Lcg {
    std::uint32_t state;
    int Next(int bound)
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(bound));
    }
};

Bytes Decoded(const Bytes& entry, Bytes canvas)
{
    orv::DecodeImage(entry.data(), canvas.data(), static_cast<std::uint32_t>(entry.size()));
    return canvas;
}

// Colour c of a picture: three bytes no other c shares.
void PutColour(std::uint8_t* at, int c)
{
    at[0] = static_cast<std::uint8_t>(c * 7 + 1);
    at[1] = static_cast<std::uint8_t>(c * 13);
    at[2] = static_cast<std::uint8_t>(255 - c);
}

// width x height pixels of `colours` colours (every one of them used when room allows),
// mostly repeating a neighbour so that runs occur.
Picture Patchy(int width, int height, int colours, Lcg& random)
{
    Picture picture{static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), {}};
    picture.bgr.resize(static_cast<std::size_t>(width * height) * 3);
    for (int i = 0; i < width * height; ++i) {
        const int pick = random.Next(10);
        std::uint8_t* at = &picture.bgr[static_cast<std::size_t>(i) * 3];
        if (i < colours)
            PutColour(at, i);
        else if (pick < 4 && i >= 1)
            std::copy_n(at - 3, 3, at);
        else if (pick < 7 && i >= width)
            std::copy_n(at - static_cast<std::ptrdiff_t>(width) * 3, 3, at);
        else
            PutColour(at, random.Next(colours));
    }
    return picture;
}

std::size_t DistinctColours(const Bytes& bgr)
{
    std::set<std::vector<std::uint8_t>> colours;
    for (std::size_t i = 0; i + 2 < bgr.size(); i += 3) colours.insert({bgr[i], bgr[i + 1], bgr[i + 2]});
    return colours.size();
}

// Bytes of a run token of n pixels, from the token layout: the low nibble holds 1 to 15;
// 0 there adds extension bytes, 255s closed by one below 255, summed on top of 15.
std::size_t RunTokenBytes(std::size_t n)
{
    if (n <= 15) return 1;
    std::size_t bytes = 2;
    for (std::size_t rest = n - 15; rest >= 255; rest -= 255) ++bytes;
    return bytes;
}

// The fewest stream bytes that draw the picture over `before`, trying every token of
// every kind and length at every pixel (a one-byte run that ends the stream needs a byte
// after it to be carried out).
std::size_t ShortestPossible(const CgPicture& picture, const Bytes& before)
{
    const int width = picture.width;
    const bool rect = picture.type == 2;
    const int left = rect ? picture.left : 0, top = rect ? picture.top : 0;
    const int right = rect ? picture.right : width, bottom = rect ? picture.bottom : picture.height;
    Bytes after = before;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const auto at = static_cast<std::size_t>(y * width + x);
            std::copy_n(&picture.palette[picture.pixels[at] * std::size_t{3}], 3, &after[at * 3]);
        }
    }
    const auto same = [](const Bytes& a, std::int64_t i, const Bytes& b, std::int64_t j) {
        return std::equal(&a[static_cast<std::size_t>(i) * 3], &a[static_cast<std::size_t>(i) * 3 + 3],
                          &b[static_cast<std::size_t>(j) * 3]);
    };
    const std::int64_t back[8] = {0, 1, width + 3, width + 2, width + 1, width, width - 1, width - 2};
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max() / 2;
    std::size_t total = 0;
    for (int y = top; y < bottom; ++y) {
        const int length = right - left;
        std::vector<std::size_t> best(static_cast<std::size_t>(length) + 1, kNone);
        best[static_cast<std::size_t>(length)] = 0;
        for (int i = length - 1; i >= 0; --i) {
            const std::int64_t at = std::int64_t{y} * width + left + i;
            std::size_t& cost = best[static_cast<std::size_t>(i)];
            for (int index = 0; index < 128; ++index) {
                if (std::equal(&picture.palette[index * 3], &picture.palette[index * 3 + 3], &after[at * 3]))
                    cost = std::min(cost, 1 + best[static_cast<std::size_t>(i) + 1]);
            }
            for (int kind = 0; kind < 8; ++kind) {
                for (int n = 1; i + n <= length; ++n) {
                    const std::int64_t to = at + n - 1;
                    const bool fits = kind == 0
                        ? same(before, to, after, to)
                        : back[kind] >= 1 && to - back[kind] >= 0 && same(after, to - back[kind], after, to);
                    if (!fits) break;
                    const bool pad = y + 1 == bottom && i + n == length && n <= 15;
                    cost = std::min(cost,
                                    RunTokenBytes(static_cast<std::size_t>(n)) + best[static_cast<std::size_t>(i + n)]
                                        + (pad ? 1 : 0));
                }
            }
        }
        total += best[0];
    }
    return total;
}

}  // namespace

TEST(ShortestStream, NoTokenChoiceGivesAShorterStream)
{
    Lcg random{99};
    for (int round = 0; round < 300; ++round) {
        // Every tenth picture has rows long enough for runs of two and three token sizes.
        const bool wide = round % 10 == 9;
        CgPicture picture;
        picture.width = static_cast<std::uint16_t>(wide ? 250 + random.Next(400) : 1 + random.Next(7));
        picture.height = static_cast<std::uint16_t>(1 + random.Next(wide ? 2 : 4));
        const int colours = 1 + random.Next(3);
        for (int c = 0; c < colours; ++c) PutColour(&picture.palette[static_cast<std::size_t>(c) * 3], c);
        // Colours past the palette's first ones only come from the canvas.
        const int canvasColours = colours + 1;
        picture.pixels.resize(std::size_t{picture.width} * picture.height);
        for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
            const bool repeat = wide && i > 0 && random.Next(150) != 0;
            picture.pixels[i] = repeat ? picture.pixels[i - 1] : static_cast<std::uint8_t>(random.Next(colours));
        }
        if (round % 3 == 0) {
            picture.type = 2;
            picture.left = static_cast<std::uint16_t>(random.Next(picture.width));
            picture.top = static_cast<std::uint16_t>(random.Next(picture.height));
            picture.right = static_cast<std::uint16_t>(picture.left + 1 + random.Next(picture.width - picture.left));
            picture.bottom = static_cast<std::uint16_t>(picture.top + 1 + random.Next(picture.height - picture.top));
        }
        Bytes before(picture.pixels.size() * 3);
        for (std::size_t i = 0; i < picture.pixels.size(); ++i)
            PutColour(&before[i * 3], wide && i % 97 != 0 ? picture.pixels[i] : random.Next(canvasColours));
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << picture.width << "x" << picture.height);

        const Bytes entry = orv::pack::EncodeCg(picture, before);
        const std::size_t header = picture.type == 2 ? 13 + 384 : 5 + 384;
        EXPECT_EQ(entry.size() - header, ShortestPossible(picture, before));
        EXPECT_EQ(Decoded(entry, before), orv::pack::DrawnCanvas(picture, before));
    }
}

TEST(PictureEncoder, RandomPicturesDecodeExactlyOverEveryKindOfCanvas)
{
    Lcg random{2025};
    const int widths[] = {1, 2, 3, 17, 64, 300};
    const int colourCounts[] = {1, 2, 5, 128};
    for (int width : widths) {
        for (int colours : colourCounts) {
            const int height = 1 + random.Next(24);
            SCOPED_TRACE(testing::Message() << width << "x" << height << ", " << colours << " colours");
            const Picture picture = Patchy(width, height, colours, random);
            const Picture previous = Patchy(width, height, colours, random);
            Bytes garbage(picture.bgr.size());
            for (std::uint8_t& byte : garbage) byte = static_cast<std::uint8_t>(random.Next(256));

            const Bytes cleared(picture.bgr.size(), 0);
            EXPECT_EQ(Decoded(orv::pack::EncodePicture(picture, &cleared), cleared), picture.bgr);
            const Bytes none;
            EXPECT_EQ(Decoded(orv::pack::EncodePicture(picture, &none), cleared), picture.bgr);
            EXPECT_EQ(Decoded(orv::pack::EncodePicture(picture, &previous.bgr), previous.bgr), picture.bgr);
            // Over a canvas not known, the picture comes out whatever the canvas holds.
            EXPECT_EQ(Decoded(orv::pack::EncodePicture(picture, nullptr), garbage), picture.bgr);
        }
    }
}

TEST(PictureEncoder, AFrameThatChangesOnlyARectangleIsStoredAsThatRectangle)
{
    Lcg random{5};
    const Picture previous = Patchy(40, 30, 20, random);
    Picture frame = previous;
    for (int y = 10; y < 14; ++y) {
        for (int x = 5; x < 9; ++x) PutColour(&frame.bgr[static_cast<std::size_t>(y * 40 + x) * 3], 60 + x + y);
    }
    const Bytes entry = orv::pack::EncodePicture(frame, &previous.bgr);
    ASSERT_GE(entry.size(), 13u);
    EXPECT_EQ(Bytes(entry.begin(), entry.begin() + 13), (Bytes{2, 40, 0, 30, 0, 5, 0, 10, 0, 9, 0, 14, 0}));
    EXPECT_EQ(Decoded(entry, previous.bgr), frame.bgr);

    // Nothing changed: an empty rectangle, no tokens.
    const Bytes same = orv::pack::EncodePicture(previous, &previous.bgr);
    EXPECT_EQ(same.size(), 13u + 384u);
    EXPECT_EQ(Decoded(same, previous.bgr), previous.bgr);
}

TEST(PictureEncoder, MoreThan128ColoursAreRefusedAndQuantizingBringsThemDown)
{
    Lcg random{3};
    const Picture many = Patchy(20, 20, 129, random);
    ASSERT_EQ(DistinctColours(many.bgr), 129u);
    const Bytes cleared;
    EXPECT_THROW(orv::pack::EncodePicture(many, &cleared), std::invalid_argument);

    const Picture reduced = orv::pack::Quantized(many);
    EXPECT_EQ(reduced.width, many.width);
    EXPECT_EQ(reduced.height, many.height);
    EXPECT_LE(DistinctColours(reduced.bgr), 128u);
    const Bytes zero(reduced.bgr.size(), 0);
    EXPECT_EQ(Decoded(orv::pack::EncodePicture(reduced, &cleared), zero), reduced.bgr);
}

TEST(PictureEncoder, OnlyTheColoursAFrameStoresCountTowardsItsPalette)
{
    Lcg random{11};
    const Picture previous = Patchy(60, 40, 120, random);
    Picture frame = previous;
    // 100 new colours in one corner, and pixels copied from the row above elsewhere.
    for (int i = 0; i < 100; ++i) PutColour(&frame.bgr[static_cast<std::size_t>(i / 10 * 60 + i % 10) * 3], 130 + i);
    std::copy_n(&frame.bgr[static_cast<std::size_t>(20 * 60) * 3], 60 * 3,
                &frame.bgr[static_cast<std::size_t>(21 * 60) * 3]);
    ASSERT_GT(DistinctColours(frame.bgr), 128u);
    EXPECT_LE(orv::pack::StoredColourCount(frame, &previous.bgr), 128u);
    EXPECT_EQ(Decoded(orv::pack::EncodePicture(frame, &previous.bgr), previous.bgr), frame.bgr);
    EXPECT_THROW(orv::pack::EncodePicture(frame, nullptr), orv::pack::TooManyColours);
    const Bytes cleared;
    EXPECT_THROW(orv::pack::EncodePicture(frame, &cleared), orv::pack::TooManyColours);
    EXPECT_EQ(orv::pack::StoredColourCount(frame, nullptr), DistinctColours(frame.bgr));
}

// A frame that changes a band of rows of the one before is never longer than the
// shortest whole picture that draws it, found by the exhaustive search.
TEST(PictureEncoder, AChangedBandIsNoLongerThanTheShortestWholePicture)
{
    Lcg random{17};
    for (int round = 0; round < 12; ++round) {
        const int width = 1 + random.Next(9);
        const int height = 10 + random.Next(8);
        const Picture previous = Patchy(width, height, 4, random);
        Picture frame = previous;
        const int top = random.Next(height - 9);
        const int rows = 1 + random.Next(height - 9 - top);
        for (int i = top * width; i < (top + rows) * width; ++i)
            PutColour(&frame.bgr[static_cast<std::size_t>(i) * 3], random.Next(6));
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << width << "x" << height);

        CgPicture whole;
        whole.width = static_cast<std::uint16_t>(width);
        whole.height = static_cast<std::uint16_t>(height);
        for (int c = 0; c < 6; ++c) PutColour(&whole.palette[static_cast<std::size_t>(c) * 3], c);
        for (std::size_t i = 0; i < frame.bgr.size(); i += 3) {
            int c = 0;
            while (!std::equal(&whole.palette[static_cast<std::size_t>(c) * 3],
                               &whole.palette[static_cast<std::size_t>(c) * 3 + 3], &frame.bgr[i]))
                ++c;
            whole.pixels.push_back(static_cast<std::uint8_t>(c));
        }
        const Bytes entry = orv::pack::EncodePicture(frame, &previous.bgr);
        EXPECT_LE(entry.size(), 5 + 384 + ShortestPossible(whole, previous.bgr));
        EXPECT_EQ(Decoded(entry, previous.bgr), frame.bgr);
    }
}
