#include "engine/export/sprite_sheet.h"

#include <algorithm>
#include <cstring>

#include "engine/base/fatal_error.h"
#include "engine/format/bmp_layout.h"
#include "engine/base/scratch_buffer.h"

namespace orv {

namespace {

constexpr std::uint32_t kDefaultColumns = 16;

}  // namespace

std::uint32_t SheetColumns(std::int32_t requested, std::size_t frameCount)
{
    const std::uint32_t wanted = requested > 0 ? static_cast<std::uint32_t>(requested) : kDefaultColumns;
    return static_cast<std::uint32_t>(std::min<std::size_t>(wanted, frameCount));
}

std::optional<SpriteSheet> DrawSpriteSheet(const ComposedFrames& frames, std::uint32_t columns, ScratchBuffer& buffer,
                                           const StopCheck& stop)
{
    const std::size_t count = frames.frames().size();
    const std::uint64_t cellWidth = frames.cellWidth();
    const std::uint64_t cellHeight = frames.cellHeight();
    const std::uint64_t sheetRows = (count + columns - 1) / columns;
    const std::uint64_t width = cellWidth * columns;
    const std::uint64_t height = cellHeight * sheetRows;
    const std::uint64_t stride = BmpStride(width, 24);
    if (stride * height > kMaxScratchBytes) throw FatalError::OutOfMemory();
    std::uint8_t* sheet = buffer.EnsureCapacity(static_cast<std::uint32_t>(stride * height), true);
    if (sheet == nullptr) throw FatalError::OutOfMemory();

    for (std::size_t i = 0; i < count; ++i) {
        if (stop()) return std::nullopt;
        const ComposedFrame& frame = frames.frames()[i];
        if (frame.pixels.empty()) continue;  // 0 pixels wide or high: its cell stays black
        const std::uint64_t left = i % columns * cellWidth * 3;
        const std::uint64_t top = i / columns * cellHeight;
        for (std::uint32_t y = 0; y < frame.height; ++y) {
            std::uint8_t* row = sheet + (height - 1 - (top + y)) * stride + left;
            std::memcpy(row, frame.pixels.data() + std::size_t{y} * frame.width * 3, std::size_t{frame.width} * 3);
        }
    }
    SpriteSheet drawn;
    drawn.rows = sheet;
    DibInfo& info = drawn.info;
    info.width = static_cast<std::int32_t>(width);
    info.height = static_cast<std::int32_t>(height);
    info.bitCount = 24;
    info.stride = static_cast<std::int32_t>(stride);
    info.imageSize = static_cast<std::int32_t>(stride * height);
    return drawn;
}

std::string SpriteSheetJson(const ComposedFrames& frames, std::uint32_t columns)
{
    const std::vector<ComposedFrame>& list = frames.frames();
    std::string json = "{\n  \"frameCount\": " + std::to_string(list.size()) + ",\n  \"cellWidth\": "
        + std::to_string(frames.cellWidth()) + ",\n  \"cellHeight\": " + std::to_string(frames.cellHeight())
        + ",\n  \"columns\": " + std::to_string(columns) + ",\n  \"frames\": [";
    for (std::size_t i = 0; i < list.size(); ++i) {
        json += i == 0 ? "\n" : ",\n";
        json += "    {\"number\": " + std::to_string(list[i].number)
            + ", \"x\": " + std::to_string(i % columns * frames.cellWidth())
            + ", \"y\": " + std::to_string(i / columns * frames.cellHeight())
            + ", \"width\": " + std::to_string(list[i].width) + ", \"height\": " + std::to_string(list[i].height) + "}";
    }
    json += "\n  ]\n}\n";
    return json;
}

}  // namespace orv
