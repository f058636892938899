#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "pack/encode/cg_tokens.h"

namespace orv::pack {

// A picture as the decoder leaves it on its canvas: width x height pixels of blue,
// green, red, top row first, no padding.
struct Picture {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    Bytes bgr;
};

inline constexpr std::size_t kMaxPictureColours = 128;

// A picture needs more palette colours than an entry holds.
class TooManyColours : public std::invalid_argument {
public:
    TooManyColours() : std::invalid_argument("more than 128 colours") { }
};

// How many colours the picture holds.
std::size_t ColourCount(const Picture& picture);

// How many colours an entry drawing the picture over `before` (as EncodePicture takes
// it) must hold in its palette: all of the picture's where the canvas is not known, else
// those of the pixels that neither hold their colour already nor find it a copy's
// distance back.
std::size_t StoredColourCount(const Picture& picture, const Bytes* before);

// The picture as an entry that draws exactly it over `before`: null when the canvas
// under it is unknown, empty for an all-zero canvas, else width * height * 3 bytes.
// Its palette holds its colours in order of first appearance; where they are more than
// 128 and the canvas is known, the colours StoredColourCount counts come first, and
// TooManyColours when those are more than 128 too. Where the canvas is known, pixels
// that already hold their colour can be skipped, and a picture that differs from it
// only inside a rectangle is also tried as that rectangle: the shorter entry wins.
// std::invalid_argument when `before` has another size.
Bytes EncodePicture(const Picture& picture, const Bytes* before);

}  // namespace orv::pack
