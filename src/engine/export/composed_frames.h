#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace orv {

// One composed animation frame: its number and its pixels as the canvas held them
// (blue, green, red, top row first, width * 3 bytes a row).
struct ComposedFrame {
    std::int32_t number = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

// The composed frames of one animation, gathered for a writer that makes one file of
// them. Every frame is shown on a cell the size of the largest frame (the widest width
// by the tallest height), at its top left; the rest of the cell is black, as a cleared
// canvas is.
class ComposedFrames {
public:
    // Keeps a copy of the canvas. The memory FatalError once the frames, each taken at
    // the cell's size, would pass the scratch limit: that bounds every writer's work and
    // every file's size.
    void Add(std::int32_t number, std::uint32_t width, std::uint32_t height, const std::uint8_t* canvas);
    void Clear();

    const std::vector<ComposedFrame>& frames() const { return frames_; }
    std::uint32_t cellWidth() const { return cellWidth_; }
    std::uint32_t cellHeight() const { return cellHeight_; }
    // Whether there is anything to show: a frame, and a cell of at least one pixel.
    bool Showable() const { return !frames_.empty() && cellWidth_ > 0 && cellHeight_ > 0; }

    // Row y of the frame's cell: cellWidth() * 3 bytes.
    void CellRow(const ComposedFrame& frame, std::uint32_t y, std::uint8_t* out) const;
    // The whole cell, cellHeight() rows of cellWidth() * 3 bytes.
    void Cell(const ComposedFrame& frame, std::uint8_t* out) const;

private:
    std::vector<ComposedFrame> frames_;
    std::uint32_t cellWidth_ = 0;
    std::uint32_t cellHeight_ = 0;
};

// Asked before each frame is encoded; true abandons the file.
using StopCheck = std::function<bool()>;

}  // namespace orv
