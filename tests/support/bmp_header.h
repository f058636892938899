#pragma once

#include <cstdint>
#include <vector>

// The 54 header bytes of a BMP file, read field by field.
struct BmpHeader {
    std::uint16_t signature = 0;
    std::uint32_t fileSize = 0;
    std::uint32_t dataOffset = 0;
    std::uint32_t infoSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    bool restAreZero = false;  // reserved fields, resolutions and colour counts
};

inline BmpHeader ParseBmpHeader(const std::vector<std::uint8_t>& file)
{
    auto u16 = [&](std::size_t at) { return static_cast<std::uint16_t>(file[at] | file[at + 1] << 8); };
    auto u32 = [&](std::size_t at) { return static_cast<std::uint32_t>(u16(at) | u16(at + 2) << 16); };
    BmpHeader header;
    if (file.size() < 54) return header;
    header.signature = u16(0);
    header.fileSize = u32(2);
    header.dataOffset = u32(10);
    header.infoSize = u32(14);
    header.width = static_cast<std::int32_t>(u32(18));
    header.height = static_cast<std::int32_t>(u32(22));
    header.planes = u16(26);
    header.bitCount = u16(28);
    header.compression = u32(30);
    header.imageSize = u32(34);
    header.restAreZero = u16(6) == 0 && u16(8) == 0 && u32(38) == 0 && u32(42) == 0 && u32(46) == 0 && u32(50) == 0;
    return header;
}
