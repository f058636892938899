#include "engine/sound_format.h"

#include <algorithm>

#include "engine/bytes.h"

namespace orv {

const WaveFormat* WaveFormatFor(std::uint8_t code)
{
    static constexpr WaveFormat kMono22k{1, 22050, 2};
    static constexpr WaveFormat kStereo22k{2, 22050, 4};
    static constexpr WaveFormat kStereo44k{2, 44100, 4};
    switch (code) {
    case kSoundMono22050: return &kMono22k;
    case kSoundStereo22050: return &kStereo22k;
    case kSoundStereo44100: return &kStereo44k;
    default: return nullptr;
    }
}

void FillWaveHeader(std::uint8_t* header, const WaveFormat& format, std::uint32_t dataLength)
{
    std::copy_n("RIFF", 4, header);
    PutLe32(header + 4, dataLength + 36);
    std::copy_n("WAVEfmt ", 8, header + 8);
    PutLe32(header + 16, 16);
    PutLe16(header + 20, 1);
    PutLe16(header + 22, format.channels);
    PutLe32(header + 24, format.sampleRate);
    PutLe32(header + 28, std::uint32_t{format.blockAlign} * format.sampleRate);
    PutLe16(header + 32, format.blockAlign);
    PutLe16(header + 34, 16);
    std::copy_n("data", 4, header + 36);
    PutLe32(header + 40, dataLength);
}

}  // namespace orv
