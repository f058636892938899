#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/format/sound_format.h"
#include "tools/pack_writer.h"

namespace orv::tools {

// A sound entry: three zero bytes, the format code, then the samples (interleaved for
// stereo) as signed 16-bit little-endian.
Bytes BuildSoundEntry(std::uint8_t code, const std::vector<std::int16_t>& samples);

// `frames` sample frames at `rate` Hz, one channel per list of frequencies, interleaved.
// A channel sums a sine of each of its frequencies, starting at phase 0, each of peak
// `amplitude`, clamped to 16 bits and rounded to nearest. The first and last `fade`
// frames rise from and fall to silence in straight lines, so that the sound starts
// and ends without a click.
std::vector<std::int16_t> SineSamples(int rate, std::size_t frames, const std::vector<std::vector<double>>& channels,
                                      double amplitude, std::size_t fade);

}  // namespace orv::tools
