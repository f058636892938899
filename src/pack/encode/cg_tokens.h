#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::pack {

using Bytes = std::vector<std::uint8_t>;

// Columns [left, right) of rows [top, bottom).
struct Rect {
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t right = 0;
    std::uint32_t bottom = 0;

    bool empty() const { return left >= right || top >= bottom; }
};

// What one picture's token stream must draw. Colours are blue | green << 8 | red << 16,
// one per canvas pixel, top row first.
struct TokenJob {
    std::uint32_t width = 0;  // of the canvas
    Rect rect;  // drawn, inside the canvas
    const std::uint32_t* after = nullptr;  // the canvas once drawn; equal to before outside rect
    const std::uint32_t* before = nullptr;  // the canvas before drawing; null when unknown (no skips)
    const std::uint32_t* palette = nullptr;  // colours a literal can paint, index = position
    std::size_t paletteSize = 0;
};

// Appends the shortest token stream that turns before into after inside rect, found by
// dynamic programming along each row over literals, skips and the seven copy kinds, with
// every run length a token can hold. Runs never pass the rectangle's right edge, so no
// row depends on how the decoder treats a run's excess. A pixel that no run reproduces
// must have its colour in the palette (std::invalid_argument otherwise).
void AppendTokens(Bytes& out, const TokenJob& job);

}  // namespace orv::pack
