#pragma once

#include <vector>

#include "tools/pack_writer.h"

namespace orv::tools {

// Animation data: a little-endian table of where each frame starts, counted from the
// start of the data, then the frames in order. No frames give no bytes.
Bytes BuildAnimation(const std::vector<Bytes>& frames);

}  // namespace orv::tools
