#pragma once

#include <cstdint>
#include <vector>

#include "pack/encode/cg_tokens.h"

namespace orv::pack {

// One frame of an animation to lay out. A frame copied raw is read from its start to the
// end of the data, so it goes last: its bytes are then exactly what a conversion copies.
struct AnimationFrame {
    Bytes bytes;
    bool runsToEnd = false;
};

// Animation data: a little-endian table of where each frame starts, counted from the
// start of the data, then the frames. Frames run in order, except that the longest frame
// that runs to the end goes last (frame 1 stays first, as the table's size is read from
// where it starts) and any other such frame that is a tail of it starts inside it. The
// numbers (from 1) of frames that run to the end and find other bytes after them go in
// `longer`. No frames give no bytes.
Bytes LayOutAnimation(const std::vector<AnimationFrame>& frames, std::vector<std::uint32_t>& longer);

// The frames in order, one after the other.
Bytes BuildAnimation(const std::vector<Bytes>& frames);

}  // namespace orv::pack
