#include "pack/played/frame_times.h"

#include <algorithm>

#include "pack/files/pack_error.h"
#include "pack/plan/folder_sources.h"

namespace orv::pack {

std::vector<PlayedFrame> FramesOfTimes(std::vector<PlayedFrame> frames, std::uint32_t unit, std::string_view unitName,
                                       const std::string& shown, const std::function<void(const std::string&)>& note)
{
    const std::string units(unitName);
    const auto at = [&](std::size_t i) { return shown + ": frame " + std::to_string(i + 1); };
    const auto wholeOf = [&](std::uint32_t step) {
        return std::find_if(frames.begin(), frames.end(),
                            [step](const PlayedFrame& frame) { return frame.duration % step != 0; });
    };
    std::uint32_t step = unit;
    if (const auto odd = wholeOf(unit); odd != frames.end()) {
        // Retimed as a whole: every time a whole number of the shortest.
        const auto shortest
            = std::min_element(frames.begin(), frames.end(),
                               [](const PlayedFrame& a, const PlayedFrame& b) { return a.duration < b.duration; });
        if (shortest->duration == 0)
            throw PackError(at(static_cast<std::size_t>(shortest - frames.begin())) + " is shown for no time");
        if (wholeOf(shortest->duration) != frames.end())
            throw PackError(at(static_cast<std::size_t>(odd - frames.begin())) + " is shown for "
                            + std::to_string(odd->duration) + " " + units + ", no whole number of the "
                            + std::to_string(unit) + " a frame was converted with (--frame-ms)");
        step = shortest->duration;
        note(shown + ": frames are shown for multiples of " + std::to_string(step) + " " + units + ", not of the "
             + std::to_string(unit) + " they were converted with (--frame-ms): retimed, which the animation does "
             + "not keep");
    }
    std::vector<PlayedFrame> held;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::uint32_t count = frames[i].duration / step;
        if (count == 0) throw PackError(at(i) + " is shown for no time");
        if (held.size() + count > kMaxFrameNumber)
            throw PackError(shown + ": more frames than an animation is packed with here");
        if (count > 1)
            note(at(i) + " is shown for " + std::to_string(count) + " frames' time: packed as " + std::to_string(count)
                 + " equal frames");
        held.insert(held.end(), count, frames[i]);
    }
    return held;
}

}  // namespace orv::pack
