// Arbitrary bytes as a picture, drawn on a canvas exactly as large as its header
// asks, so that any access outside it is seen by the sanitizer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1u << 20) return 0;
    const orv::PictureHeader header = orv::ReadPictureHeader(data, static_cast<std::uint32_t>(size));
    const std::size_t canvasBytes = std::size_t{header.width} * header.height * 3;
    // Large canvases add nothing but time.
    if (canvasBytes > (1u << 22)) return 0;
    std::vector<std::uint8_t> picture(data, data + size);
    std::vector<std::uint8_t> canvas(canvasBytes);
    orv::DecodeImage(picture.data(), canvas.data(), static_cast<std::uint32_t>(picture.size()));
    return 0;
}
