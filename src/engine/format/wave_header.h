#pragma once

#include <cstdint>

namespace orv {

struct SoundFormat;

// A RIFF WAVE file of 16-bit PCM: the 12-byte RIFF header, the format chunk and the
// data chunk's header, 44 bytes in all, then the samples.
inline constexpr std::uint32_t kWaveHeaderBytes = 44;

// Fields of the format chunk's body, from its start.
inline constexpr std::uint32_t kFmtTagAt = 0;
inline constexpr std::uint32_t kFmtChannelsAt = 2;
inline constexpr std::uint32_t kFmtRateAt = 4;
inline constexpr std::uint32_t kFmtByteRateAt = 8;
inline constexpr std::uint32_t kFmtBlockAlignAt = 12;
inline constexpr std::uint32_t kFmtBitsAt = 14;
inline constexpr std::uint32_t kFmtBodyBytes = 16;
inline constexpr std::uint16_t kPcmTag = 1;

// The kWaveHeaderBytes before dataLength bytes of samples in this format.
void FillWaveHeader(std::uint8_t* header, const SoundFormat& format, std::uint32_t dataLength);

}  // namespace orv
