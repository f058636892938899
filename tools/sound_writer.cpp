#include "tools/sound_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/format/little_endian.h"
#include "pack/encode/sound_entry.h"

namespace orv::tools {

Bytes BuildSoundEntry(std::uint8_t code, const std::vector<std::int16_t>& samples)
{
    Bytes entry = pack::SoundEntryHeader(code);
    entry.reserve(4 + 2 * samples.size());
    for (std::int16_t sample : samples) AppendLe16(entry, static_cast<std::uint16_t>(sample));
    return entry;
}

std::vector<std::int16_t> SineSamples(int rate, std::size_t frames, const std::vector<std::vector<double>>& channels,
                                      double amplitude, std::size_t fade)
{
    std::vector<std::int16_t> samples;
    samples.reserve(frames * channels.size());
    for (std::size_t i = 0; i < frames; ++i) {
        double gain = 1.0;
        if (i < fade) gain = static_cast<double>(i) / static_cast<double>(fade);
        if (frames - 1 - i < fade)
            gain = std::min(gain, static_cast<double>(frames - 1 - i) / static_cast<double>(fade));
        const double seconds = static_cast<double>(i) / rate;
        for (const std::vector<double>& frequencies : channels) {
            double value = 0.0;
            for (double frequency : frequencies) value += std::sin(2.0 * std::numbers::pi * frequency * seconds);
            value = std::clamp(std::round(value * amplitude * gain), -32768.0, 32767.0);
            samples.push_back(static_cast<std::int16_t>(value));
        }
    }
    return samples;
}

}  // namespace orv::tools
