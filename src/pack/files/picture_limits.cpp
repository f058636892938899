#include "pack/files/picture_limits.h"

#include "engine/base/scratch_buffer.h"
#include "pack/files/pack_error.h"

namespace orv::pack {

Picture BlankPicture(std::uint64_t width, std::uint64_t height, const std::string& shown)
{
    if (width > kMaxPictureSide || height > kMaxPictureSide)
        throw PackError(shown + ": " + std::to_string(width) + " x " + std::to_string(height)
                        + " pixels; a picture is at most 65,535 pixels wide and high");
    if (width * height * 3 > kMaxScratchBytes)
        throw PackError(shown + ": " + std::to_string(width) + " x " + std::to_string(height)
                        + " pixels; a picture takes at most " + std::to_string(kMaxScratchBytes >> 20) + " MiB");
    Picture picture;
    picture.width = static_cast<std::uint16_t>(width);
    picture.height = static_cast<std::uint16_t>(height);
    picture.bgr.assign(width * height * 3, 0);
    return picture;
}

}  // namespace orv::pack
