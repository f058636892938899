#include "engine/export/composed_frames.h"

#include <algorithm>
#include <cstring>

#include "engine/base/fatal_error.h"
#include "engine/base/scratch_buffer.h"

namespace orv {

void ComposedFrames::Add(std::int32_t number, std::uint32_t width, std::uint32_t height, const std::uint8_t* canvas)
{
    const std::uint32_t cellWidth = std::max(cellWidth_, width);
    const std::uint32_t cellHeight = std::max(cellHeight_, height);
    // Each frame is charged its cell and its bookkeeping, so that a table naming one tiny
    // picture millions of times is bounded too.
    const std::uint64_t frameBytes = std::uint64_t{cellWidth} * cellHeight * 3 + sizeof(ComposedFrame);
    if (frameBytes * (frames_.size() + 1) > kMaxScratchBytes) throw FatalError::OutOfMemory();
    const std::size_t bytes = std::size_t{width} * height * 3;
    frames_.push_back({number, width, height, std::vector<std::uint8_t>(canvas, canvas + bytes)});
    cellWidth_ = cellWidth;
    cellHeight_ = cellHeight;
}

void ComposedFrames::Clear()
{
    frames_.clear();
    frames_.shrink_to_fit();
    cellWidth_ = 0;
    cellHeight_ = 0;
}

void ComposedFrames::CellRow(const ComposedFrame& frame, std::uint32_t y, std::uint8_t* out) const
{
    const std::size_t rowBytes = std::size_t{cellWidth_} * 3;
    const std::size_t drawn = y < frame.height ? std::size_t{frame.width} * 3 : 0;
    if (drawn > 0) std::memcpy(out, frame.pixels.data() + y * drawn, drawn);
    std::memset(out + drawn, 0, rowBytes - drawn);
}

void ComposedFrames::Cell(const ComposedFrame& frame, std::uint8_t* out) const
{
    for (std::uint32_t y = 0; y < cellHeight_; ++y) CellRow(frame, y, out + std::size_t{y} * cellWidth_ * 3);
}

}  // namespace orv
