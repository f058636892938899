#pragma once

#include <cstdint>
#include <vector>

#include "pack/encode/picture_encoder.h"

namespace orv::pack {

// The pictures animation data can show for a frame under any settings: the frame drawn
// over a cleared canvas or over the picture shown before it, either of them perhaps
// first drawn over by another frame as its base. Frames whose size differs from the
// canvas draw nothing here, as their canvas is not known.
class FrameCompositions {
public:
    // The animation data and where each frame starts in it (from the frame table).
    FrameCompositions(Bytes data, std::vector<std::uint32_t> offsets) :
        data_(std::move(data)), offsets_(std::move(offsets))
    { }

    // Whether some settings make frame `number` (from 1) show `picture`, with `before`
    // the picture shown last before it (null when none was).
    bool Explains(std::uint32_t number, const Picture& picture, const Picture* before) const;

private:
    // Frame k drawn over the canvas (width x height, blue, green, red); false when it is
    // a picture of another size. Frames that are not pictures leave the canvas as it is.
    bool Draw(std::uint32_t k, const Picture& shape, Bytes& canvas) const;

    Bytes data_;
    std::vector<std::uint32_t> offsets_;
};

}  // namespace orv::pack
