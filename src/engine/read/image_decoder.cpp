#include "engine/read/image_decoder.h"

#include <algorithm>
#include <cstring>

#include "engine/format/picture_tokens.h"

namespace orv {

namespace {

// Copies count bytes forward one at a time, as the format defines a copy: where
// the source overlaps bytes this copy writes, they repeat. Non-overlapping and
// source-ahead cases give the same bytes through the library moves.
void CopyForward(std::uint8_t* canvas, std::int64_t to, std::int64_t distance, std::int64_t count)
{
    std::uint8_t* out = canvas + to;
    const std::uint8_t* in = out - distance;
    if (distance >= count) {
        std::memcpy(out, in, static_cast<std::size_t>(count));
    } else if (distance <= 0) {
        std::memmove(out, in, static_cast<std::size_t>(count));
    } else {
        // The distance bytes before out repeat: copy them once, then copy what is done
        // onto its end, doubling it. What is done is always whole repeats, so each copy
        // continues the pattern, and its source and destination never overlap.
        std::memcpy(out, in, static_cast<std::size_t>(distance));
        std::int64_t done = distance;
        while (done < count) {
            const std::int64_t block = std::min(done, count - done);
            std::memcpy(out + done, out, static_cast<std::size_t>(block));
            done += block;
        }
    }
}

}  // namespace

void DecodeImage(const std::uint8_t* data, std::uint8_t* canvas, std::uint32_t size)
{
    // Header and palette as far as the entry holds them; the rest reads as zero.
    std::uint8_t head[kRectHeaderBytes + kPaletteBytes] = {};
    std::copy_n(data, std::min<std::uint32_t>(size, sizeof head), head);

    const PictureHeader header = ReadPictureHeader(head, kPictureHeaderBytes);
    const std::int64_t width = header.width;
    const PictureRect rect = ReadPictureRect(head);
    const std::int64_t left = rect.left;
    const std::int64_t right = rect.right;
    const std::int64_t bottom = rect.bottom;
    const std::uint32_t paletteAt = PaletteOffset(header.type);
    const std::uint8_t* palette = head + paletteAt;
    const std::uint32_t streamAt = paletteAt + kPaletteBytes;
    if (size <= streamAt) return;
    const std::uint8_t* in = data + streamAt;
    const std::uint8_t* const end = data + size;

    const std::int64_t canvasBytes = width * header.height * kColourBytes;
    // Byte distance back to the source of each run kind.
    CopyDistances distance = CopyDistancesFor(width);
    for (std::int64_t& pixels : distance) pixels *= kColourBytes;

    std::int64_t x = left;
    std::int64_t y = rect.top;
    std::int64_t to = (y * width + x) * kColourBytes;  // destination: a byte offset into the canvas
    while (in < end) {
        const std::uint8_t d = *in++;
        if (IsLiteral(d)) {
            if (to < 0 || to + kColourBytes > canvasBytes) return;
            std::memcpy(canvas + to, palette + std::ptrdiff_t{LiteralIndex(d)} * kColourBytes, kColourBytes);
            to += kColourBytes;
            x += 1;
        } else {
            if (in == end) return;
            std::uint32_t n = RunNibble(d);
            const unsigned kind = RunKind(d);
            if (n == 0) {
                n = kNibbleRun;
                std::uint8_t e = 0;
                do {
                    if (in == end) return;
                    e = *in++;
                    n += e;
                } while (e == kExtensionGoesOn);
            }
            const std::int64_t bytes = std::int64_t{n} * kColourBytes;
            if (kind != kSkipRun) {
                const std::int64_t from = to - distance[kind];
                if (from < 0 || to < 0 || to + bytes > canvasBytes || from + bytes > canvasBytes) return;
                CopyForward(canvas, to, distance[kind], bytes);
            }
            to += bytes;
            x += n;
        }
        if (x >= right) {
            if (++y >= bottom) return;
            x = left;
            to = (y * width + x) * kColourBytes;
        }
    }
}

}  // namespace orv
