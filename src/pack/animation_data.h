#pragma once

#include <vector>

#include "pack/cg_tokens.h"

namespace orv::pack {

// Animation data: a little-endian table of where each frame starts, counted from the
// start of the data, then the frames in order. No frames give no bytes.
Bytes BuildAnimation(const std::vector<Bytes>& frames);

}  // namespace orv::pack
