#pragma once

// Test pictures are encoded by orvpack's own encoder.
#include "pack/encode/cg_picture.h"
#include "tools/pack_writer.h"

namespace orv::tools {

using pack::CgPicture;
using pack::DrawnCanvas;
using pack::EncodeCg;

}  // namespace orv::tools
