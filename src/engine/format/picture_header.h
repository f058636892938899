#pragma once

#include <cstdint>
#include <vector>

namespace orv {

// Picture types, the header's first byte: a full picture and a rectangle picture are
// drawn; the skipped type is neither drawn nor written; any other is written raw.
inline constexpr std::uint8_t kFullPicture = 0;
inline constexpr std::uint8_t kSkippedPicture = 1;
inline constexpr std::uint8_t kRectPicture = 2;

// Type, width and height; a rectangle picture adds left, top, right and bottom. The
// palette follows the header, the token stream the palette.
inline constexpr std::uint32_t kPictureHeaderBytes = 5;
inline constexpr std::uint32_t kRectHeaderBytes = 13;

struct PictureHeader {
    std::uint8_t type = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// Columns [left, right) of rows [top, bottom) of the canvas.
struct PictureRect {
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t right = 0;
    std::uint16_t bottom = 0;
};

// Type, width and height of a picture of size bytes; missing bytes read as zero.
PictureHeader ReadPictureHeader(const std::uint8_t* data, std::uint32_t size);

// The rectangle a picture draws: the header's for a rectangle picture, whose header
// holds kRectHeaderBytes, else the whole canvas.
PictureRect ReadPictureRect(const std::uint8_t* header);

// Where the palette starts: after the header of the picture's type.
std::uint32_t PaletteOffset(std::uint8_t type);

// The header: its rectangle only for a rectangle picture.
void AppendPictureHeader(std::vector<std::uint8_t>& out, const PictureHeader& header, const PictureRect& rect);

}  // namespace orv
