#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/export/composed_frames.h"
#include "engine/output/image_writers.h"

namespace orv {

class ScratchBuffer;

// Frames per row of a sheet: the requested number (0: 16), never more than there are frames.
std::uint32_t SheetColumns(std::int32_t requested, std::size_t frameCount);

struct SpriteSheet {
    DibInfo info;
    const std::uint8_t* rows = nullptr;  // bottom row first
};

// Draws the sheet, the frames' cells left to right then top to bottom, into buffer as a
// bottom-up 24-bit bitmap; cells without a frame are black. Nothing when stop asked for
// it to be abandoned; the memory FatalError when the sheet is larger than a scratch block.
std::optional<SpriteSheet> DrawSpriteSheet(const ComposedFrames& frames, std::uint32_t columns, ScratchBuffer& buffer,
                                           const StopCheck& stop);

// The sheet's index: frame count, cell size, columns, and each frame's number and
// rectangle (its own size, at the top left of its cell) in sheet pixels from the top left.
std::string SpriteSheetJson(const ComposedFrames& frames, std::uint32_t columns);

}  // namespace orv
