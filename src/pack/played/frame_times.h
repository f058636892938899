#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pack/played/played_frames.h"

namespace orv::pack {

// The frames of a WebP or GIF as the animation holds them, each converted to be shown
// for `unit` (in the file's unit, named by unitName). A frame shown k units long is k
// equal frames, which tools that save the file again merge into one; a note says so.
// Frames whose times are whole numbers of the shortest, but not of unit, were retimed:
// the shortest then stands for one frame, with a note. PackError naming the frame when
// its time is neither.
std::vector<PlayedFrame> FramesOfTimes(std::vector<PlayedFrame> frames, std::uint32_t unit, std::string_view unitName,
                                       const std::string& shown, const std::function<void(const std::string&)>& note);

}  // namespace orv::pack
