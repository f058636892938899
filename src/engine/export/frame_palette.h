#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace orv {

// A picture as indices into a colour table of at most 256 colours, as a GIF frame holds it.
struct IndexedPicture {
    std::vector<std::uint8_t> indices;  // one per pixel, top row first
    std::array<std::array<std::uint8_t, 3>, 256> colours{};  // red, green, blue
    int colourCount = 0;
    bool reduced = false;  // the picture held more colours, and libimagequant chose these
};

// Indexes width x height pixels of blue, green, red: exactly when they hold at most 256
// colours, else reduced to 256 by libimagequant. The memory FatalError when that fails.
void IndexPicture(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height, IndexedPicture& out);

}  // namespace orv
