#pragma once

#include <cstdint>

#include "engine/read/reader.h"

namespace orv {

// The picture made to fit a square of side pixels: as it is when it fits, else scaled
// down keeping its proportions, each pixel the average of the pixels it covers. A picture
// 0 pixels wide or high is given back as it is.
RgbImage ScaleToFit(const RgbImage& picture, std::uint32_t side);

}  // namespace orv
