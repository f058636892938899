#pragma once

#include <cstdint>
#include <optional>

#include "engine/read/image_decoder.h"
#include "engine/base/scratch_buffer.h"

namespace orv {

// What a picture does when it is converted: type 1 is neither drawn nor written, types
// 0 and 2 are drawn, any other type is written as its raw bytes.
enum class PictureAction { Skipped, Drawn, Raw };
PictureAction ActionOf(const PictureHeader& header);

// The part of the canvas block a drawn picture asks for: its rows padded as 24-bit
// bitmap rows are, zero-filled first for an archive picture, frame 1 of an animation, or a
// frame drawn on a cleared canvas. A frame drawn over the previous picture is not
// filled, so that a frame larger than the one before it shows what the block held
// beyond the previous picture: bytes an earlier entry of the same input may have left.
struct CanvasUse {
    std::uint64_t bytes = 0;
    bool zeroFill = false;
};
// frameNo: the frame's number from 1, or -1 for an archive picture.
CanvasUse CanvasUseOf(const PictureHeader& header, std::int32_t frameNo, bool clear);

// The canvas block shared by the pictures of one input, carried from each picture to
// the next exactly as conversion carries it.
class Canvas {
public:
    // Draws a picture of type 0 or 2 over the block after asking for its use; the
    // memory FatalError, touching nothing, when the use is larger than a block may be.
    // The pixels: width x height x (blue, green, red), top row first.
    const std::uint8_t* Draw(const std::uint8_t* data, std::uint32_t size, const PictureHeader& header,
                             std::int32_t frameNo, bool clear);
    // Lets the block go: the next picture starts on a fresh black block, as every input
    // starts.
    void Drop() { block_.EnsureCapacity(0, false); }
    // A black block of this capacity: the state a block has after it was last made.
    void Reset(std::uint32_t capacity);

private:
    ScratchBuffer block_;
};

// How the capacity of the block and its bytes follow the uses asked of it: what the
// pictures of an input depend on, without drawing them.
class CanvasModel {
public:
    explicit CanvasModel(std::uint32_t capacity) : capacity_(capacity) { }

    // Records a use; false when the use is larger than a block may be, which leaves the
    // block as it was.
    bool Use(const CanvasUse& use);

    std::uint32_t capacity() const { return capacity_; }
    // Whether the block was made anew (or let go) by a use since this model began.
    bool remade() const { return remade_; }
    // The leading bytes of the block as it was when this model began that the uses so
    // far read (bytes no fill or fresh block had set before a picture drew over them).
    std::uint32_t readBefore() const { return readBefore_; }
    // The leading bytes the uses so far set whatever the block held before: filled,
    // or on a block made anew.
    std::uint32_t set() const { return set_; }

private:
    std::uint32_t capacity_;
    bool remade_ = false;
    std::uint32_t readBefore_ = 0;
    std::uint32_t set_ = 0;
};

}  // namespace orv
