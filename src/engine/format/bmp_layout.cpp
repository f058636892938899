#include "engine/format/bmp_layout.h"

#include <algorithm>

#include "engine/format/little_endian.h"

namespace orv {

void FillBmpFileHeader(std::uint8_t* header, std::uint32_t fileBytes, std::uint32_t dataOffset)
{
    std::fill_n(header, kBmpFileHeaderBytes, 0);
    header[0] = 'B';
    header[1] = 'M';
    PutLe32(header + 2, fileBytes);
    PutLe32(header + kBmpDataOffsetAt, dataOffset);
}

void FillBmpInfoHeader(std::uint8_t* header, std::int32_t width, std::int32_t height, std::uint16_t bitCount)
{
    std::fill_n(header, kBitmapInfoHeaderBytes, 0);
    PutLe32(header, kBitmapInfoHeaderBytes);
    PutLe32(header + kInfoWidthAt, static_cast<std::uint32_t>(width));
    PutLe32(header + kInfoHeightAt, static_cast<std::uint32_t>(height));
    PutLe16(header + 12, 1);
    PutLe16(header + kInfoBitCountAt, bitCount);
}

}  // namespace orv
