#pragma once

#include <cstdint>

namespace orv {

// Sound entries: a 4-byte header whose fourth byte is the format code, then 16-bit
// little-endian PCM samples, interleaved for stereo.
inline constexpr std::uint32_t kSoundHeaderBytes = 4;
inline constexpr std::uint8_t kSoundMono22050 = 6;
inline constexpr std::uint8_t kSoundStereo22050 = 7;
inline constexpr std::uint8_t kSoundStereo44100 = 10;

// What a format code stands for: 16-bit PCM of this many channels at this rate.
struct WaveFormat {
    std::uint16_t channels;
    std::uint32_t sampleRate;
    std::uint16_t blockAlign;  // bytes of one sample frame
};

// The format of a code; null for an unknown code.
const WaveFormat* WaveFormatFor(std::uint8_t code);

// A RIFF WAVE file: this header, then the samples.
inline constexpr std::uint32_t kWaveHeaderBytes = 44;
// A RIFF WAVE header for 16-bit PCM samples of dataLength bytes.
void FillWaveHeader(std::uint8_t* header, const WaveFormat& format, std::uint32_t dataLength);

}  // namespace orv
