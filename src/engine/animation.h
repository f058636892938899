#pragma once

#include <cstdint>

namespace orv {

// The number of frames of animation data: the first table entry divided by 4, but
// never more table slots than lie wholly inside the data.
std::uint32_t AnimationFrameCount(const std::uint8_t* data, std::uint32_t size);

// The offset of frame k (from 1), counted from the start of the data.
std::uint32_t AnimationFrameOffset(const std::uint8_t* data, std::uint32_t k);

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
