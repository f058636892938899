#include "pack/encode/picture_encoder.h"

#include <algorithm>
#include <unordered_set>

#include "engine/format/palette.h"
#include "engine/format/picture_header.h"
#include "engine/format/picture_tokens.h"
#include "pack/encode/colour_index.h"

namespace orv::pack {

namespace {

using Colours = std::vector<std::uint32_t>;

// One colour a pixel, blue | green << 8 | red << 16; all zero for an empty canvas.
Colours Packed(const Bytes& bgr, std::size_t pixels)
{
    Colours colours(pixels, 0);
    if (bgr.empty()) return colours;
    const std::uint8_t* at = bgr.data();
    for (std::uint32_t& colour : colours) {
        colour = static_cast<std::uint32_t>(at[0] | at[1] << 8 | at[2] << 16);
        at += 3;
    }
    return colours;
}

// The pixels a picture is drawn to, and over what.
struct Drawing {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    Colours after;
    Colours under;  // empty when the canvas is not known
};

// Whether pixel i finds its colour on the canvas without a palette entry: it holds it
// already (a skip), or a copy's source does.
bool Reproducible(const Drawing& drawing, const CopyDistances& distances, std::size_t i)
{
    const std::uint32_t colour = drawing.after[i];
    if (drawing.under[i] == colour) return true;
    for (unsigned kind = 1; kind < kRunKinds; ++kind) {
        const std::int64_t distance = distances[kind];
        if (distance >= 1 && static_cast<std::int64_t>(i) >= distance && drawing.after[i - distance] == colour)
            return true;
    }
    return false;
}

// Adds the colours of the pixels no skip or copy gives, in order of first appearance,
// while room is left; returns how many there are.
std::size_t AddNeededColours(const Drawing& drawing, ColourIndex& needed)
{
    const CopyDistances distances = CopyDistancesFor(drawing.width);
    std::unordered_set<std::uint32_t> beyond;
    for (std::size_t i = 0; i < drawing.after.size(); ++i) {
        if (Reproducible(drawing, distances, i)) continue;
        if (!needed.Add(drawing.after[i])) beyond.insert(drawing.after[i]);
    }
    return needed.size() + beyond.size();
}

// The palette: the picture's colours in order of first appearance, or where they are
// more than 128 and the canvas is known, the needed ones first.
ColourIndex PaletteOf(const Drawing& drawing)
{
    ColourIndex palette;
    if (std::all_of(drawing.after.begin(), drawing.after.end(), [&](std::uint32_t c) { return palette.Add(c); }))
        return palette;
    if (drawing.under.empty()) throw TooManyColours();
    ColourIndex needed;
    if (AddNeededColours(drawing, needed) > kMaxPictureColours) throw TooManyColours();
    for (const std::uint32_t colour : drawing.after) {
        if (!needed.Add(colour)) break;
    }
    return needed;
}

// The smallest rectangle outside which the picture equals the canvas under it.
Rect ChangedRect(const Drawing& drawing)
{
    Rect rect{drawing.width, drawing.height, 0, 0};
    for (std::uint32_t y = 0; y < drawing.height; ++y) {
        const std::uint32_t* after = drawing.after.data() + std::size_t{y} * drawing.width;
        const std::uint32_t* under = drawing.under.data() + std::size_t{y} * drawing.width;
        std::uint32_t first = 0;
        while (first < drawing.width && after[first] == under[first]) ++first;
        if (first == drawing.width) continue;
        std::uint32_t last = drawing.width;
        while (after[last - 1] == under[last - 1]) --last;
        rect = {std::min(rect.left, first), std::min(rect.top, y), std::max(rect.right, last), y + 1};
    }
    return rect.empty() ? Rect{} : rect;
}

// Header, palette and token stream of the picture of this type drawing `rect`.
Bytes Encoded(const Drawing& drawing, std::uint8_t type, const Rect& rect,
              const std::array<std::uint32_t, kPaletteColours>& colours, bool known)
{
    Bytes out;
    const PictureRect stored = type == kRectPicture
        ? PictureRect{static_cast<std::uint16_t>(rect.left), static_cast<std::uint16_t>(rect.top),
                      static_cast<std::uint16_t>(rect.right), static_cast<std::uint16_t>(rect.bottom)}
        : PictureRect{};
    AppendPictureHeader(
        out, {type, static_cast<std::uint16_t>(drawing.width), static_cast<std::uint16_t>(drawing.height)}, stored);
    for (const std::uint32_t colour : colours) {
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                    static_cast<std::uint8_t>(colour >> 16)});
    }
    TokenJob job;
    job.width = drawing.width;
    job.rect = rect;
    job.after = drawing.after.data();
    job.before = known ? drawing.under.data() : nullptr;
    job.palette = colours.data();
    job.paletteSize = colours.size();
    AppendTokens(out, job);
    return out;
}

}  // namespace

std::size_t ColourCount(const Picture& picture)
{
    const Colours colours = Packed(picture.bgr, picture.bgr.size() / 3);
    return std::unordered_set<std::uint32_t>(colours.begin(), colours.end()).size();
}

std::size_t StoredColourCount(const Picture& picture, const Bytes* before)
{
    const std::size_t pixels = std::size_t{picture.width} * picture.height;
    if (before == nullptr || picture.bgr.size() != pixels * 3 || (!before->empty() && before->size() != pixels * 3))
        return ColourCount(picture);
    const Drawing drawing{picture.width, picture.height, Packed(picture.bgr, pixels), Packed(*before, pixels)};
    ColourIndex needed;
    return AddNeededColours(drawing, needed);
}

Bytes EncodePicture(const Picture& picture, const Bytes* before)
{
    const std::size_t pixels = std::size_t{picture.width} * picture.height;
    if (picture.bgr.size() != pixels * 3) throw std::invalid_argument("pixel count is not width * height");
    if (before != nullptr && !before->empty() && before->size() != pixels * 3)
        throw std::invalid_argument("canvas size is not width * height * 3");
    Drawing drawing{picture.width, picture.height, Packed(picture.bgr, pixels), {}};
    if (before != nullptr) drawing.under = Packed(*before, pixels);
    // Unused entries stay black.
    const std::array<std::uint32_t, kPaletteColours> colours = PaletteOf(drawing).colours();
    const Rect whole{0, 0, picture.width, picture.height};
    if (before == nullptr) return Encoded(drawing, kFullPicture, whole, colours, false);

    const Rect changed = ChangedRect(drawing);
    if (changed.left == 0 && changed.top == 0 && changed.right == picture.width && changed.bottom == picture.height)
        return Encoded(drawing, kFullPicture, whole, colours, true);
    Bytes rectangle = Encoded(drawing, kRectPicture, changed, colours, true);
    // The whole picture spends on the rectangle's rows at least what the rectangle does
    // (its tokens cut to the rectangle draw it), and at least a byte on every other row;
    // the rectangle spends 8 header bytes more and perhaps one at its end. From 10 other
    // rows on, the rectangle is shorter without weighing the whole.
    if (picture.height - (changed.bottom - changed.top) >= 10) return rectangle;
    Bytes best = Encoded(drawing, kFullPicture, whole, colours, true);
    return rectangle.size() < best.size() ? rectangle : best;
}

}  // namespace orv::pack
