#pragma once

#include <cstdint>

#include "engine/format/frame_table.h"

namespace orv {

class InputFile;
class ScratchBuffer;

struct FrameTable {
    const std::uint8_t* data;  // the table's bytes, as AnimationFrameCount takes them
    std::uint32_t size;
};

// The frame table of an animation file, without the frames: the slots up to the offset
// in the first slot, never past the end of the file, in buffer.
FrameTable ReadFrameTable(InputFile& file, ScratchBuffer& buffer);

}  // namespace orv
