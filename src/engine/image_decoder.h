#pragma once

#include <cstdint>

namespace orv {

// Picture types, the header's first byte: a full picture and a rectangle picture are
// drawn; the skipped type is neither drawn nor written; any other is written raw.
inline constexpr std::uint8_t kFullPicture = 0;
inline constexpr std::uint8_t kSkippedPicture = 1;
inline constexpr std::uint8_t kRectPicture = 2;

// Picture header layout: type, width, height; type 2 adds its rectangle.
inline constexpr std::uint32_t kPictureHeaderBytes = 5;
inline constexpr std::uint32_t kRectHeaderBytes = 13;
inline constexpr std::uint32_t kPaletteBytes = 384;  // 128 x blue, green, red

struct PictureHeader {
    std::uint8_t type = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// Type, width and height of a picture of size bytes; missing bytes read as zero.
PictureHeader ReadPictureHeader(const std::uint8_t* data, std::uint32_t size);

// Draws a picture of type 0 or 2 over the canvas (width x height pixels of blue,
// green, red, top row first, as the header gives them). Reads no byte past
// data + size and touches no byte outside the canvas; a token that would write or
// read outside the canvas ends decoding, keeping what was drawn.
void DecodeImage(const std::uint8_t* data, std::uint8_t* canvas, std::uint32_t size);

}  // namespace orv
