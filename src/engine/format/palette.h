#pragma once

#include <cstdint>

namespace orv {

// A picture's palette: 128 colours of three bytes, blue, green, red, the byte order of a
// canvas pixel.
inline constexpr std::uint32_t kPaletteColours = 128;
inline constexpr std::uint32_t kColourBytes = 3;
inline constexpr std::uint32_t kPaletteBytes = kPaletteColours * kColourBytes;

}  // namespace orv
