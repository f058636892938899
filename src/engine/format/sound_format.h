#pragma once

#include <cstdint>
#include <optional>

namespace orv {

// Sound entries: a 4-byte header whose fourth byte is the format code, then 16-bit
// little-endian PCM samples, interleaved for stereo.
inline constexpr std::uint32_t kSoundHeaderBytes = 4;
inline constexpr std::uint32_t kSoundCodeAt = 3;
inline constexpr std::uint16_t kSoundSampleBits = 16;
inline constexpr std::uint8_t kSoundMono22050 = 6;
inline constexpr std::uint8_t kSoundStereo22050 = 7;
inline constexpr std::uint8_t kSoundStereo44100 = 10;

struct SoundFormat {
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;  // sample frames a second
    std::uint16_t blockAlign = 0;  // bytes of one sample frame
};

// The format of a format code; none for an unknown code.
std::optional<SoundFormat> SoundFormatOf(std::uint8_t code);

// The format code of 16-bit PCM of these channels and rate; none where no code has them.
std::optional<std::uint8_t> SoundCodeOf(std::uint32_t channels, std::uint32_t rate);

// How long a sound entry of entrySize bytes (its header included) plays in this format.
double SoundSeconds(const SoundFormat& format, std::uint32_t entrySize);

}  // namespace orv
