#pragma once

#include <cstdint>

#include "engine/format/bmp_layout.h"

namespace orv {

class OutputFile;

// A bottom-up bitmap held in memory, as the BMP and PNG writers take it.
struct DibInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;  // rows, stored bottom row first
    std::int32_t bitCount = 24;
    std::int32_t stride = 0;  // bytes per stored row, a multiple of 4
    std::int32_t imageSize = 0;
    std::int32_t dataOffset = kBmpPixelOffset;  // of the pixel data in a BMP file
};

// The bitmap as a BMP file into a begun output file: headers, the colour table (8 bits
// only) and the rows. False when the bytes cannot all be written.
bool WriteBmpRows(OutputFile& out, const std::uint8_t* pixels, const DibInfo& info, const std::uint8_t* colourTable);

// The bitmap as a PNG file into a begun output file; a result of SaveDibAsPng.
int WritePngRows(const OutputFile& out, const std::uint8_t* pixels, const DibInfo& info,
                 const std::uint8_t* colourTable);

}  // namespace orv
