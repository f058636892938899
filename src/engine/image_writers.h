#pragma once

#include <cstdint>

namespace orv {

// A bottom-up bitmap held in memory, as the BMP and PNG writers take it.
struct DibInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;  // rows, stored bottom row first
    std::int32_t bitCount = 24;
    std::int32_t stride = 0;  // bytes per stored row, a multiple of 4
    std::int32_t imageSize = 0;
    std::int32_t dataOffset = 54;  // of the pixel data in a BMP file
};

// A BMP file: the 14-byte file header, the 40-byte information header, then (for 24
// bits) the pixels.
inline constexpr std::uint32_t kBmpFileHeaderBytes = 14;
inline constexpr std::uint32_t kBitmapInfoHeaderBytes = 40;
inline constexpr std::uint32_t kBmpPixelOffset = kBmpFileHeaderBytes + kBitmapInfoHeaderBytes;
inline constexpr std::uint32_t kColourTableBytes = 1024;  // 256 x blue, green, red, reserved

}  // namespace orv
