#include <algorithm>

#include "engine/convert/converter.h"
#include "engine/io/input_file.h"
#include "engine/read/frame_walk.h"

namespace orv {

void Converter::ConvertAnimation(const std::uint8_t* data, ArchiveEntry& entry)
{
    composing_ = !drawOnly_ && options.animation != AnimationOutput::Frames;
    // The frames gathered for one file are let go however the animation ends.
    struct Composed {
        Converter& converter;
        ~Composed()
        {
            converter.composing_ = false;
            converter.composed_.Clear();
        }
    } composed{*this};
    const auto stop = [this] { return StopRequested(); };
    // Each frame is handed over as the animation's own record, sized from the frame's
    // offset to the end of the data.
    const std::uint32_t total = entry.size;
    const bool finished = WalkAnimation(data, total, entry.Name(), options.iniFile, stop, [&](const FrameStep& frame) {
        entry.size = frame.size;
        ConvertImageEntry(frame.data, entry, frame.clear, frame.baseOnly, static_cast<std::int32_t>(frame.number));
    });
    entry.size = total;
    if (finished && composing_) WriteComposedAnimation(entry);
}

}  // namespace orv
