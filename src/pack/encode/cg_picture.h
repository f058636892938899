#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/format/palette.h"
#include "pack/encode/cg_tokens.h"

namespace orv::pack {

// A palette picture to be encoded: type 0 draws the whole canvas, type 2 only the
// rectangle [left, right) x [top, bottom).
struct CgPicture {
    std::uint8_t type = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t right = 0;
    std::uint16_t bottom = 0;
    std::array<std::uint8_t, kPaletteBytes> palette{};  // 128 x (blue, green, red)
    std::vector<std::uint8_t> pixels;  // width * height palette indices, top row first
};

// Whether the canvas under a picture is known, so that pixels already right can be skipped.
enum class Canvas { Known, Unknown };

// Header, palette and the shortest token stream (AppendTokens) of the picture drawn
// over `before` (width * height * 3 bytes of blue, green, red); an empty `before`
// stands for an all-zero canvas. With Canvas::Unknown nothing is skipped, so the picture
// comes out the same over any canvas. Throws std::invalid_argument on a bad type, a
// rectangle leaving the canvas, a pixel count other than width * height, a palette index
// above 127 or a canvas of the wrong size.
Bytes EncodeCg(const CgPicture& picture, const Bytes& before = {}, Canvas canvas = Canvas::Known);

// The canvas that EncodeCg(picture, before) leaves when drawn over `before`: the
// picture's colours inside its rectangle (everywhere for type 0), `before` elsewhere.
// Throws std::invalid_argument where EncodeCg would.
Bytes DrawnCanvas(const CgPicture& picture, const Bytes& before = {});

}  // namespace orv::pack
