#pragma once

#include <array>
#include <cstdint>

#include "pack/encode/cg_tokens.h"

namespace orv::pack {

// The 4-byte header of a sound entry: three bytes the converter does not read (zero
// unless an original entry's are kept), then the format code.
Bytes SoundEntryHeader(std::uint8_t code, const std::array<std::uint8_t, 3>& lead = {});

}  // namespace orv::pack
