#pragma once

#include <cstdint>
#include <string>

namespace orv::pack {

// Where a WAV file keeps its samples, and the sound entry format code they fit.
struct WaveSamples {
    std::uint8_t code = 0;
    std::uint64_t offset = 0;  // of the data chunk's first byte
    std::uint64_t length = 0;
};

// Reads the chunks of a RIFF WAVE file. PackError naming `shown` unless it holds 16-bit
// PCM of one channel at 22050 Hz or two at 22050 or 44100 Hz, with its data chunk whole.
WaveSamples ReadWaveFile(const std::string& path, const std::string& shown);

}  // namespace orv::pack
