#include "tools/cg_encoder.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "engine/image_decoder.h"

namespace orv::tools {

namespace {

constexpr std::size_t kPaletteEntries = 128;

struct Rect {
    std::int64_t left, top, right, bottom;
};

void AppendLe16(Bytes& bytes, std::uint16_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint32_t PackedColour(const std::uint8_t* bgr)
{
    return static_cast<std::uint32_t>(bgr[0] | bgr[1] << 8 | bgr[2] << 16);
}

// Lengths up to 15 fit the token's low nibble; longer ones put 0 there and follow it
// with the length past 15 as 255s closed by one byte below 255.
void AppendRun(Bytes& out, unsigned kind, std::int64_t length)
{
    if (length <= 15) {
        out.push_back(static_cast<std::uint8_t>(kind << 4 | static_cast<unsigned>(length)));
        return;
    }
    out.push_back(static_cast<std::uint8_t>(kind << 4));
    std::int64_t rest = length - 15;
    for (; rest >= 255; rest -= 255) out.push_back(255);
    out.push_back(static_cast<std::uint8_t>(rest));
}

// The rectangle the picture draws, once the picture and canvas are found consistent.
Rect CheckedRect(const CgPicture& picture, const Bytes& before)
{
    if (picture.type != kFullPicture && picture.type != kRectPicture)
        throw std::invalid_argument("picture type must be 0 or 2");
    Rect rect{0, 0, picture.width, picture.height};
    if (picture.type == kRectPicture) rect = {picture.left, picture.top, picture.right, picture.bottom};
    if (rect.left > rect.right || rect.top > rect.bottom || rect.right > picture.width || rect.bottom > picture.height)
        throw std::invalid_argument("picture rectangle leaves the canvas");
    const auto pixelCount = static_cast<std::size_t>(picture.width) * picture.height;
    if (picture.pixels.size() != pixelCount) throw std::invalid_argument("pixel count is not width * height");
    if (!before.empty() && before.size() != pixelCount * 3)
        throw std::invalid_argument("canvas size is not width * height * 3");
    for (std::uint8_t value : picture.pixels) {
        if (value >= kPaletteEntries) throw std::invalid_argument("palette index above 127");
    }
    return rect;
}

}  // namespace

Bytes EncodeCg(const CgPicture& picture, const Bytes& before)
{
    const Rect rect = CheckedRect(picture, before);
    const std::int64_t width = picture.width;
    const std::int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
    const auto pixelCount = static_cast<std::size_t>(width * picture.height);

    std::array<std::uint32_t, kPaletteEntries> colours{};
    for (std::size_t i = 0; i < kPaletteEntries; ++i) colours[i] = PackedColour(&picture.palette[i * 3]);
    std::vector<std::uint32_t> canvas(pixelCount, 0);
    if (!before.empty()) {
        for (std::size_t i = 0; i < pixelCount; ++i) canvas[i] = PackedColour(&before[i * 3]);
    }
    auto index = [&](std::int64_t at) { return picture.pixels[static_cast<std::size_t>(at)]; };
    auto target = [&](std::int64_t at) { return colours[index(at)]; };
    auto current = [&](std::int64_t at) -> std::uint32_t& { return canvas[static_cast<std::size_t>(at)]; };

    Bytes out{picture.type};
    AppendLe16(out, picture.width);
    AppendLe16(out, picture.height);
    if (picture.type == kRectPicture) {
        AppendLe16(out, picture.left);
        AppendLe16(out, picture.top);
        AppendLe16(out, picture.right);
        AppendLe16(out, picture.bottom);
    }
    out.insert(out.end(), picture.palette.begin(), picture.palette.end());

    // Pixels back to each copy kind's source, and the source column relative to the
    // target's; kinds 2 to 7 read the row above and must stay inside it.
    const std::int64_t distance[8] = {0, 1, width + 3, width + 2, width + 1, width, width - 1, width - 2};
    const std::int64_t columnShift[8] = {0, 0, -3, -2, -1, 0, 1, 2};

    bool endsInShortRun = false;
    for (std::int64_t y = top; y < bottom; ++y) {
        std::int64_t x = left;
        while (x < right) {
            const std::int64_t at = y * width + x;
            const std::int64_t room = right - x;  // runs end at the rectangle's row end

            unsigned bestKind = 0;
            std::int64_t bestLength = 0;  // a skip, where the canvas already holds the colours
            while (bestLength < room && current(at + bestLength) == target(at + bestLength)) ++bestLength;
            for (unsigned kind = 1; kind < 8; ++kind) {
                if (distance[kind] > at || (kind >= 2 && y == 0)) continue;
                std::int64_t length = 0;
                while (length < room) {
                    const std::int64_t column = x + length + columnShift[kind];
                    if (kind >= 2 && (column < 0 || column >= width)) break;
                    // Kind 1 reads pixels this run has just written: those hold the target.
                    const std::int64_t from = at + length - distance[kind];
                    const std::uint32_t source = from < at ? current(from) : target(from);
                    if (source != target(at + length)) break;
                    ++length;
                }
                if (length > bestLength) {
                    bestKind = kind;
                    bestLength = length;
                }
            }

            const bool literal = bestLength == 0;
            if (literal) {
                out.push_back(static_cast<std::uint8_t>(0x80 + index(at)));
                bestLength = 1;
            } else {
                AppendRun(out, bestKind, bestLength);
            }
            endsInShortRun = !literal && bestLength <= 15;
            for (std::int64_t i = 0; i < bestLength; ++i) current(at + i) = target(at + i);
            x += bestLength;
        }
    }
    // The decoder does not carry out a run that is the stream's last byte. The pad after it is
    // never read: that run finishes the rectangle.
    if (endsInShortRun) out.push_back(0);
    return out;
}

Bytes DrawnCanvas(const CgPicture& picture, const Bytes& before)
{
    const Rect rect = CheckedRect(picture, before);
    Bytes canvas = before;
    canvas.resize(static_cast<std::size_t>(picture.width) * picture.height * 3, 0);
    for (std::int64_t y = rect.top; y < rect.bottom; ++y) {
        for (std::int64_t x = rect.left; x < rect.right; ++x) {
            const auto at = static_cast<std::size_t>(y * picture.width + x);
            const std::size_t colour = picture.pixels[at] * std::size_t{3};
            std::copy_n(&picture.palette[colour], 3, &canvas[at * 3]);
        }
    }
    return canvas;
}

}  // namespace orv::tools
