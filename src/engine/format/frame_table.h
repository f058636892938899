#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orv {

// Animation data starts with a table of 32-bit little-endian slots, one a frame, each
// the offset of its frame from the start of the data; the first offset, where the
// first frame follows the table, is therefore 4 times the frame count.

// The bytes of the table whose first slot is at first: the first offset cut to whole slots.
std::uint32_t FrameTableBytes(const std::uint8_t* first);

// The number of frames of animation data: the first table entry divided by 4, but
// never more table slots than lie wholly inside the data.
std::uint32_t AnimationFrameCount(const std::uint8_t* data, std::uint32_t size);

// The offset of frame k (from 1), counted from the start of the data.
std::uint32_t AnimationFrameOffset(const std::uint8_t* data, std::uint32_t k);

// The table of frames of these sizes, stored in order right after it.
void AppendFrameTable(std::vector<std::uint8_t>& out, std::span<const std::uint32_t> frameSizes);

}  // namespace orv
