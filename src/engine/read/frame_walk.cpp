#include "engine/read/frame_walk.h"

#include <string>

#include "engine/format/frame_table.h"
#include "settings/settings_file.h"

namespace orv {

void WalkFrame(const std::uint8_t* data, std::uint32_t size, std::uint32_t n, std::string_view section,
               const SettingsFile* settings, const std::function<void(const FrameStep&)>& step)
{
    const std::uint32_t frames = AnimationFrameCount(data, size);
    const auto draw = [&](std::uint32_t number, bool clear, bool baseOnly) {
        const std::uint32_t offset = AnimationFrameOffset(data, number);
        if (offset >= size) return;
        step({number, data + offset, size - offset, clear, baseOnly});
    };
    const std::int32_t v = settings != nullptr ? settings->IntegerValue(section, "p" + std::to_string(n), 0) : 0;
    if (v >= 1 && static_cast<std::uint32_t>(v) <= frames) {
        if (static_cast<std::uint32_t>(v) == n) return;  // frame left out
        draw(static_cast<std::uint32_t>(v), false, true);
    }
    draw(n, v == -1, false);
}

bool WalkAnimation(const std::uint8_t* data, std::uint32_t size, std::string_view section, const SettingsFile* settings,
                   const std::function<bool()>& stop, const std::function<void(const FrameStep&)>& step)
{
    const std::uint32_t frames = AnimationFrameCount(data, size);
    for (std::uint32_t n = 1; n <= frames; ++n) {
        if (stop()) return false;
        WalkFrame(data, size, n, section, settings, step);
    }
    return true;
}

}  // namespace orv
