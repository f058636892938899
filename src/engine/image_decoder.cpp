#include "engine/image_decoder.h"

#include <algorithm>
#include <cstring>

#include "engine/format/little_endian.h"

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

PictureHeader ReadPictureHeader(const std::uint8_t* data, std::uint32_t size)
{
    std::uint8_t head[kPictureHeaderBytes] = {};
    std::copy_n(data, std::min(size, kPictureHeaderBytes), head);
    return {head[0], ReadLe16(head + 1), ReadLe16(head + 3)};
}

void DecodeImage(const std::uint8_t* data, std::uint8_t* canvas, std::uint32_t size)
{
    // Header and palette as far as the entry holds them; the rest reads as zero.
    std::uint8_t head[kRectHeaderBytes + kPaletteBytes] = {};
    std::copy_n(data, std::min<std::uint32_t>(size, sizeof head), head);

    const std::int64_t width = ReadLe16(head + 1);
    const std::int64_t height = ReadLe16(head + 3);
    std::int64_t left = 0, top = 0, right = width, bottom = height;
    std::uint32_t paletteAt = kPictureHeaderBytes;
    if (head[0] == 2) {
        left = ReadLe16(head + 5);
        top = ReadLe16(head + 7);
        right = ReadLe16(head + 9);
        bottom = ReadLe16(head + 11);
        paletteAt = kRectHeaderBytes;
    }
    const std::uint8_t* palette = head + paletteAt;
    const std::uint32_t streamAt = paletteAt + kPaletteBytes;
    if (size <= streamAt) return;
    const std::uint8_t* in = data + streamAt;
    const std::uint8_t* const end = data + size;

    const std::int64_t canvasBytes = width * height * 3;
    // Byte distance back to the source of copy kinds 1 to 7.
    const std::int64_t distance[8]
        = {0, 3, (width + 3) * 3, (width + 2) * 3, (width + 1) * 3, width * 3, (width - 1) * 3, (width - 2) * 3};

    std::int64_t x = left;
    std::int64_t y = top;
    std::int64_t to = (y * width + x) * 3;  // destination: a byte offset into the canvas
    while (in < end) {
        const std::uint8_t d = *in++;
        if (d >= 0x80) {
            if (to < 0 || to + 3 > canvasBytes) return;
            std::memcpy(canvas + to, palette + std::ptrdiff_t{d - 0x80} * 3, 3);
            to += 3;
            x += 1;
        } else {
            if (in == end) return;
            std::uint32_t n = d & 0x0F;
            const unsigned kind = d >> 4;
            if (n == 0) {
                n = 15;
                std::uint8_t e = 0;
                do {
                    if (in == end) return;
                    e = *in++;
                    n += e;
                } while (e == 255);
            }
            const std::int64_t bytes = std::int64_t{n} * 3;
            if (kind != 0) {
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
            to = (y * width + x) * 3;
        }
    }
}

}  // namespace orv
