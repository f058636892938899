#include "engine/animation.h"

#include <algorithm>

#include "engine/converter.h"
#include "engine/input_file.h"
#include "settings/settings_file.h"

namespace orv {

FrameTable ReadFrameTable(InputFile& file, ScratchBuffer& buffer)
{
    std::uint8_t first[4] = {};
    file.ReadAt(0, first, sizeof first);
    const std::uint64_t bytes = std::min<std::uint64_t>(FrameTableBytes(first), file.size());
    const std::uint8_t* table = file.ReadBlock(buffer, 0, bytes);
    return {table, static_cast<std::uint32_t>(bytes)};
}

void Converter::ConvertAnimation(const std::uint8_t* data, ArchiveEntry& entry)
{
    const std::uint32_t total = entry.size;
    const std::uint32_t frames = AnimationFrameCount(data, total);
    const std::string section(entry.Name());
    // Frames are handed over as running from their offset to the end of the data;
    // one whose offset lies at or past that end has nothing to draw.
    auto convertFrame = [&](std::uint32_t number, bool clearCanvas, bool renderOnly) {
        const std::uint32_t offset = AnimationFrameOffset(data, number);
        if (offset >= total) return;
        entry.size = total - offset;
        ConvertImageEntry(data + offset, entry, clearCanvas, renderOnly, static_cast<std::int32_t>(number));
    };
    composing_ = options.animation != AnimationOutput::Frames;
    // The frames gathered for one file are let go however the animation ends.
    struct Composed {
        Converter& converter;
        ~Composed()
        {
            converter.composing_ = false;
            converter.composed_.Clear();
        }
    } composed{*this};
    for (std::uint32_t n = 1; n <= frames; ++n) {
        view_.PumpEvents();
        if (cancelRequested) return;
        const std::int32_t v
            = options.iniFile != nullptr ? options.iniFile->IntegerValue(section, "p" + std::to_string(n), 0) : 0;
        if (v >= 1 && static_cast<std::uint32_t>(v) <= frames) {
            if (static_cast<std::uint32_t>(v) == n) continue;  // frame left out
            convertFrame(static_cast<std::uint32_t>(v), false, true);  // its base
        }
        convertFrame(n, v == -1, false);
    }
    if (composing_) WriteComposedAnimation(entry);
}

}  // namespace orv
