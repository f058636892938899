#pragma once

#include <cstdint>

#include "engine/export/composed_frames.h"

namespace orv {

class OutputFile;

// Encodes the frames, each shown for frameMs milliseconds, as one looping lossless
// animated WebP into out, which the caller puts in place. False when stop asked for it
// to be abandoned. The write FatalError when the file cannot be written or the cell is
// larger than the format allows; the memory FatalError when the encoder runs out.
bool WriteWebpAnimation(const ComposedFrames& frames, std::int32_t frameMs, const StopCheck& stop, OutputFile& out);

}  // namespace orv
