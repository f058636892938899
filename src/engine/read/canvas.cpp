#include "engine/read/canvas.h"

#include <algorithm>
#include <limits>

#include "engine/base/fatal_error.h"
#include "engine/format/bmp_layout.h"

namespace orv {

PictureAction ActionOf(const PictureHeader& header)
{
    if (header.type == kSkippedPicture) return PictureAction::Skipped;
    if (header.type == kFullPicture || header.type == kRectPicture) return PictureAction::Drawn;
    return PictureAction::Raw;
}

CanvasUse CanvasUseOf(const PictureHeader& header, std::int32_t frameNo, bool clear)
{
    // 64-bit sizes: 65535 x 65535 pixels need more than 32 bits.
    return {BmpStride(header.width, 24) * header.height, frameNo <= 1 || clear};
}

const std::uint8_t* Canvas::Draw(const std::uint8_t* data, std::uint32_t size, const PictureHeader& header,
                                 std::int32_t frameNo, bool clear)
{
    const CanvasUse use = CanvasUseOf(header, frameNo, clear);
    if (use.bytes > kMaxScratchBytes) throw FatalError::OutOfMemory();
    std::uint8_t* canvas = block_.EnsureCapacity(static_cast<std::uint32_t>(use.bytes), use.zeroFill);
    if (canvas == nullptr) throw FatalError::OutOfMemory();
    DecodeImage(data, canvas, size);
    return canvas;
}

void Canvas::Reset(std::uint32_t capacity)
{
    block_.EnsureCapacity(0, false);
    if (capacity > 0 && block_.EnsureCapacity(capacity, true) == nullptr) throw FatalError::OutOfMemory();
}

bool CanvasModel::Use(const CanvasUse& use)
{
    if (use.bytes > kMaxScratchBytes) return false;
    const auto bytes = static_cast<std::uint32_t>(use.bytes);
    if (bytes == 0 || bytes > capacity_) {
        // Let go, or made anew and black: nothing of the block before is left.
        capacity_ = bytes;
        remade_ = true;
        set_ = std::numeric_limits<std::uint32_t>::max();
        return true;
    }
    if (!use.zeroFill && bytes > set_) readBefore_ = std::max(readBefore_, bytes);
    set_ = std::max(set_, bytes);
    return true;
}

}  // namespace orv
