#include "engine/format/wave_header.h"

#include <algorithm>

#include "engine/format/little_endian.h"
#include "engine/format/sound_format.h"

namespace orv {

namespace {

constexpr std::uint32_t kFmtBodyAt = 20;
constexpr std::uint32_t kDataChunkAt = 36;
constexpr std::uint32_t kChunkHeaderBytes = 8;

}  // namespace

void FillWaveHeader(std::uint8_t* header, const SoundFormat& format, std::uint32_t dataLength)
{
    std::copy_n("RIFF", 4, header);
    // The RIFF chunk holds everything after its own header.
    PutLe32(header + 4, dataLength + kWaveHeaderBytes - kChunkHeaderBytes);
    std::copy_n("WAVEfmt ", 8, header + 8);
    PutLe32(header + 16, kFmtBodyBytes);
    std::uint8_t* fmt = header + kFmtBodyAt;
    PutLe16(fmt + kFmtTagAt, kPcmTag);
    PutLe16(fmt + kFmtChannelsAt, format.channels);
    PutLe32(fmt + kFmtRateAt, format.rate);
    PutLe32(fmt + kFmtByteRateAt, std::uint32_t{format.blockAlign} * format.rate);
    PutLe16(fmt + kFmtBlockAlignAt, format.blockAlign);
    PutLe16(fmt + kFmtBitsAt, kSoundSampleBits);
    std::copy_n("data", 4, header + kDataChunkAt);
    PutLe32(header + kDataChunkAt + 4, dataLength);
}

}  // namespace orv
