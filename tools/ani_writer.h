#pragma once

// Test animations are laid out by orvpack's own code.
#include "pack/encode/animation_data.h"
#include "tools/pack_writer.h"

namespace orv::tools {

using pack::BuildAnimation;

}  // namespace orv::tools
