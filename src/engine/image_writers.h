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

inline constexpr std::uint32_t kBitmapInfoHeaderBytes = 40;
inline constexpr std::uint32_t kColourTableBytes = 1024;  // 256 x blue, green, red, reserved

// Results of SaveDibAsPng.
inline constexpr int kPngWritten = 0;
inline constexpr int kPngCannotEncode = 102;
inline constexpr int kPngLibraryFailed = 108;
inline constexpr int kPngNotCreated = 109;

class OutputFile;

// Encodes a bitmap as PNG through libpng into the file at path, which replaces what
// the path held only when the whole file was written. block is a 40-byte bitmap
// information header followed by its colour table entries (read for 8 bits or fewer);
// pixels are its rows, bottom row first. Returns one of the results above.
int SaveDibAsPng(const char* path, const std::uint8_t* block, const std::uint8_t* pixels);
// The same into a begun output file, which the caller then puts in place.
int SaveDibAsPng(const OutputFile& out, const std::uint8_t* block, const std::uint8_t* pixels);

}  // namespace orv
