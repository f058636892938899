#include "engine/format/sound_format.h"

#include <array>

namespace orv {

namespace {

struct CodedFormat {
    std::uint8_t code;
    SoundFormat format;
};

constexpr std::array<CodedFormat, 3> kCodedFormats{{
    {kSoundMono22050, {1, 22050, 2}},
    {kSoundStereo22050, {2, 22050, 4}},
    {kSoundStereo44100, {2, 44100, 4}},
}};

}  // namespace

std::optional<SoundFormat> SoundFormatOf(std::uint8_t code)
{
    for (const CodedFormat& coded : kCodedFormats) {
        if (coded.code == code) return coded.format;
    }
    return std::nullopt;
}

std::optional<std::uint8_t> SoundCodeOf(std::uint32_t channels, std::uint32_t rate)
{
    for (const CodedFormat& coded : kCodedFormats) {
        if (coded.format.channels == channels && coded.format.rate == rate) return coded.code;
    }
    return std::nullopt;
}

double SoundSeconds(const SoundFormat& format, std::uint32_t entrySize)
{
    const std::uint32_t samples = entrySize > kSoundHeaderBytes ? entrySize - kSoundHeaderBytes : 0;
    return static_cast<double>(samples) / format.blockAlign / format.rate;
}

}  // namespace orv
