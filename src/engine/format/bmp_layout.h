#pragma once

#include <cstdint>

namespace orv {

// A BMP file: the 14-byte file header, the 40-byte information header, then (for 8
// bits) the colour table and the pixels, each stored row padded to 4 bytes.
inline constexpr std::uint32_t kBmpFileHeaderBytes = 14;
inline constexpr std::uint32_t kBitmapInfoHeaderBytes = 40;
inline constexpr std::uint32_t kBmpPixelOffset = kBmpFileHeaderBytes + kBitmapInfoHeaderBytes;
inline constexpr std::uint32_t kColourTableBytes = 1024;  // 256 x blue, green, red, reserved

// The file header's field: where the pixels start.
inline constexpr std::uint32_t kBmpDataOffsetAt = 10;

// Fields of the information header, from its start.
inline constexpr std::uint32_t kInfoWidthAt = 4;
inline constexpr std::uint32_t kInfoHeightAt = 8;
inline constexpr std::uint32_t kInfoBitCountAt = 14;
inline constexpr std::uint32_t kInfoCompressionAt = 16;
inline constexpr std::uint32_t kInfoColoursUsedAt = 32;

// Bytes of one stored row of width pixels of bitCount bits.
constexpr std::uint64_t BmpStride(std::uint64_t width, std::uint32_t bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// "BM", the file's size, the pixels' offset; the reserved fields zero.
void FillBmpFileHeader(std::uint8_t* header, std::uint32_t fileBytes, std::uint32_t dataOffset);

// One plane, no compression, no image size, no resolution and no colour counts.
void FillBmpInfoHeader(std::uint8_t* header, std::int32_t width, std::int32_t height, std::uint16_t bitCount);

}  // namespace orv
