#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace orv {

class SettingsFile;

// One picture an animation draws: frame `number` (from 1), whose data runs from its
// offset to the end of the animation data; drawn on a cleared canvas or over the
// previous picture; shown, or only drawn as the base of a later frame.
struct FrameStep {
    std::uint32_t number = 0;
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    bool clear = false;
    bool baseOnly = false;
};

// The pictures frame n (from 1) of animation data draws as the settings compose it (see
// WalkAnimation), in order: the base they name, if any, then the frame itself; none when
// they leave it out.
void WalkFrame(const std::uint8_t* data, std::uint32_t size, std::uint32_t n, std::string_view section,
               const SettingsFile* settings, const std::function<void(const FrameStep&)>& step);

// Walks the frames of animation data as the settings compose them (section: the
// animation's name; keys p1, p2, ...): a value naming another frame draws that frame
// first as a base, the frame's own number leaves it out, -1 clears the canvas first.
// Frames whose offset lies at or past the end of the data draw nothing. stop is asked
// before each frame; false when it ended the walk.
bool WalkAnimation(const std::uint8_t* data, std::uint32_t size, std::string_view section, const SettingsFile* settings,
                   const std::function<bool()>& stop, const std::function<void(const FrameStep&)>& step);

}  // namespace orv
