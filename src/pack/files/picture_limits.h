#pragma once

#include <cstdint>
#include <string>

#include "pack/encode/picture_encoder.h"

namespace orv::pack {

inline constexpr std::uint32_t kMaxPictureSide = 65535;

// A picture of width x height with its pixels zero; PackError naming `shown` when a side
// is above 65,535 or the pixels would take more than a picture block may hold.
Picture BlankPicture(std::uint64_t width, std::uint64_t height, const std::string& shown);

}  // namespace orv::pack
