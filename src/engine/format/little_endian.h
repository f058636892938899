#pragma once

#include <cstdint>
#include <vector>

namespace orv {

// Little-endian fields of the archive, picture, animation, sound and bitmap formats.

inline std::uint16_t ReadLe16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

inline std::uint32_t ReadLe32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8
        | static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline void PutLe16(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutLe32(std::uint8_t* at, std::uint32_t value)
{
    PutLe16(at, value);
    PutLe16(at + 2, value >> 16);
}

// The same fields added at the end of bytes being built.

inline void AppendLe16(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    const std::size_t at = bytes.size();
    bytes.resize(at + 2);
    PutLe16(bytes.data() + at, value);
}

inline void AppendLe32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    const std::size_t at = bytes.size();
    bytes.resize(at + 4);
    PutLe32(bytes.data() + at, value);
}

}  // namespace orv
