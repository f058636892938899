#include "engine/output/image_writers.h"

#include <cstring>

#include "engine/output/output_file.h"
#include "engine/output/png_writer.h"

namespace orv {

bool WriteBmpRows(OutputFile& out, const std::uint8_t* pixels, const DibInfo& info, const std::uint8_t* colourTable)
{
    std::uint8_t headers[kBmpPixelOffset];
    FillBmpFileHeader(headers, static_cast<std::uint32_t>(info.imageSize) + static_cast<std::uint32_t>(info.dataOffset),
                      static_cast<std::uint32_t>(info.dataOffset));
    FillBmpInfoHeader(headers + kBmpFileHeaderBytes, info.width, info.height,
                      static_cast<std::uint16_t>(info.bitCount));
    return out.Write(headers, sizeof headers) && (info.bitCount != 8 || out.Write(colourTable, kColourTableBytes))
        && out.Write(pixels, static_cast<std::uint32_t>(info.imageSize));
}

int WritePngRows(const OutputFile& out, const std::uint8_t* pixels, const DibInfo& info,
                 const std::uint8_t* colourTable)
{
    std::uint8_t block[kBitmapInfoHeaderBytes + kColourTableBytes] = {};
    FillBmpInfoHeader(block, info.width, info.height, static_cast<std::uint16_t>(info.bitCount));
    if (info.bitCount == 8) std::memcpy(block + kBitmapInfoHeaderBytes, colourTable, kColourTableBytes);
    return SaveDibAsPng(out, block, pixels);
}

}  // namespace orv
