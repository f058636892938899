#pragma once

#include <cstdint>

#include "engine/format/palette.h"
#include "engine/format/picture_header.h"

namespace orv {

// Draws a picture of type 0 or 2 over the canvas (width x height pixels of blue,
// green, red, top row first, as the header gives them). Reads no byte past
// data + size and touches no byte outside the canvas; a token that would write or
// read outside the canvas ends decoding, keeping what was drawn.
void DecodeImage(const std::uint8_t* data, std::uint8_t* canvas, std::uint32_t size);

}  // namespace orv
