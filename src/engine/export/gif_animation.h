#pragma once

#include <cstdint>
#include <string_view>

#include "engine/export/composed_frames.h"

namespace orv {

class OutputFile;

// The comment a frame reduced to 256 colours carries, so that a reader can tell it is
// not the composed picture.
inline constexpr std::string_view kGifReducedComment = "orvconv: colours reduced";

struct GifWritten {
    bool finished = false;  // false: stop asked for the file to be abandoned
    bool reduced = false;  // a frame held more than 256 colours and was reduced
};

// A frame's delay in hundredths of a second for frameMs milliseconds: rounded, at least one.
int GifDelayOf(std::int32_t frameMs);

// Encodes the frames, each shown for frameMs milliseconds (GIF keeps hundredths of a
// second: rounded, at least one), as one looping animated GIF into out, which the caller
// puts in place. Every frame covers the whole cell with a colour table of its own; one
// reduced to 256 colours is preceded by kGifReducedComment. The
// write FatalError when the file cannot be written, the memory FatalError when memory
// runs out.
GifWritten WriteGifAnimation(const ComposedFrames& frames, std::int32_t frameMs, const StopCheck& stop,
                             OutputFile& out);

}  // namespace orv
