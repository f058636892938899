#pragma once

#include <cstdint>

namespace orv {

// The number of frames of animation data: the first table entry divided by 4, but
// never more table slots than lie wholly inside the data.
std::uint32_t AnimationFrameCount(const std::uint8_t* data, std::uint32_t size);

// The offset of frame k (from 1), counted from the start of the data.
std::uint32_t AnimationFrameOffset(const std::uint8_t* data, std::uint32_t k);

}  // namespace orv
