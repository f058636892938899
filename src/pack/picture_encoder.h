#pragma once

#include <cstddef>
#include <cstdint>

#include "pack/cg_tokens.h"

namespace orv::pack {

// A picture as the decoder leaves it on its canvas: width x height pixels of blue,
// green, red, top row first, no padding.
struct Picture {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    Bytes bgr;
};

inline constexpr std::size_t kMaxPictureColours = 128;

// How many colours the picture holds.
std::size_t ColourCount(const Picture& picture);

// The picture as an entry that draws exactly it over `before`: null when the canvas
// under it is unknown, empty for an all-zero canvas, else width * height * 3 bytes.
// Its palette holds its colours in order of first appearance (at most 128, else
// std::invalid_argument). Where the canvas is known, pixels that already hold their
// colour can be skipped, and a picture that differs from it only inside a rectangle is
// also tried as that rectangle: the shorter entry wins.
Bytes EncodePicture(const Picture& picture, const Bytes* before);

}  // namespace orv::pack
