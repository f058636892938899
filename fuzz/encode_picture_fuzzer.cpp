// Any picture of up to 128 colours, encoded over a cleared canvas, over the frame before
// it or over a canvas not known, decodes back to exactly its pixels.
//
// Input: width - 1, height - 1 and the number of colours - 1 (one byte each, the last
// taken modulo 128), then one byte per pixel choosing its colour, then one per pixel of
// the frame before; missing bytes read as zero.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/read/image_decoder.h"
#include "fuzz_support.h"
#include "pack/encode/picture_encoder.h"

namespace {

orv::pack::Picture PictureOf(orv::fuzz::InputReader& input, std::uint16_t width, std::uint16_t height, int colours)
{
    orv::pack::Picture picture{width, height, {}};
    for (std::size_t i = 0; i < std::size_t{width} * height; ++i) {
        const int colour = input.Byte() % colours;
        picture.bgr.insert(picture.bgr.end(),
                           {static_cast<std::uint8_t>(colour * 2), static_cast<std::uint8_t>(colour),
                            static_cast<std::uint8_t>(255 - colour)});
    }
    return picture;
}

void RequireDecodesTo(const orv::pack::Bytes& entry, orv::pack::Bytes canvas, const orv::pack::Bytes& wanted)
{
    orv::DecodeImage(entry.data(), canvas.data(), static_cast<std::uint32_t>(entry.size()));
    orv::fuzz::Require(canvas == wanted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orv::fuzz::InputReader input(data, size);
    const auto width = static_cast<std::uint16_t>(input.Byte() + 1);
    const auto height = static_cast<std::uint16_t>(input.Byte() + 1);
    const int colours = input.Byte() % 128 + 1;
    const orv::pack::Picture picture = PictureOf(input, width, height, colours);
    const orv::pack::Picture previous = PictureOf(input, width, height, colours);

    const orv::pack::Bytes cleared(picture.bgr.size(), 0);
    const orv::pack::Bytes none;
    RequireDecodesTo(orv::pack::EncodePicture(picture, &none), cleared, picture.bgr);
    RequireDecodesTo(orv::pack::EncodePicture(picture, &previous.bgr), previous.bgr, picture.bgr);
    orv::pack::Bytes garbage(picture.bgr.size());
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 151 + 7);
    RequireDecodesTo(orv::pack::EncodePicture(picture, nullptr), garbage, picture.bgr);
    return 0;
}
