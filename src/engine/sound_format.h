#pragma once

#include <cstdint>

namespace orv {

// Sound entries: a 4-byte header whose fourth byte is the format code, then 16-bit
// little-endian PCM samples, interleaved for stereo.
inline constexpr std::uint32_t kSoundHeaderBytes = 4;
inline constexpr std::uint8_t kSoundMono22050 = 6;
inline constexpr std::uint8_t kSoundStereo22050 = 7;
inline constexpr std::uint8_t kSoundStereo44100 = 10;

}  // namespace orv
