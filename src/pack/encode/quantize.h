#pragma once

#include <cstddef>

#include "pack/encode/picture_encoder.h"

namespace orv::pack {

// The picture reduced to at most maxColours colours by libimagequant (with its
// dithering). std::runtime_error when libimagequant cannot do it.
Picture Quantized(const Picture& picture, std::size_t maxColours = kMaxPictureColours);

}  // namespace orv::pack
