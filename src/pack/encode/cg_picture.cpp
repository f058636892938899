#include "pack/encode/cg_picture.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "engine/format/palette.h"
#include "engine/format/picture_header.h"

namespace orv::pack {

namespace {

std::uint32_t PackedColour(const std::uint8_t* bgr)
{
    return static_cast<std::uint32_t>(bgr[0] | bgr[1] << 8 | bgr[2] << 16);
}

std::vector<std::uint32_t> PackedCanvas(const Bytes& bgr)
{
    std::vector<std::uint32_t> colours(bgr.size() / 3);
    for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = PackedColour(&bgr[i * 3]);
    return colours;
}

// The rectangle the picture draws, once the picture and canvas are found consistent.
Rect CheckedRect(const CgPicture& picture, const Bytes& before)
{
    if (picture.type != kFullPicture && picture.type != kRectPicture)
        throw std::invalid_argument("picture type must be 0 or 2");
    Rect rect{0, 0, picture.width, picture.height};
    if (picture.type == kRectPicture) rect = {picture.left, picture.top, picture.right, picture.bottom};
    if (rect.left > rect.right || rect.top > rect.bottom || rect.right > picture.width || rect.bottom > picture.height)
        throw std::invalid_argument("picture rectangle leaves the canvas");
    const auto pixelCount = static_cast<std::size_t>(picture.width) * picture.height;
    if (picture.pixels.size() != pixelCount) throw std::invalid_argument("pixel count is not width * height");
    if (!before.empty() && before.size() != pixelCount * 3)
        throw std::invalid_argument("canvas size is not width * height * 3");
    for (std::uint8_t value : picture.pixels) {
        if (value >= kPaletteColours) throw std::invalid_argument("palette index above 127");
    }
    return rect;
}

}  // namespace

Bytes EncodeCg(const CgPicture& picture, const Bytes& before, Canvas canvas)
{
    const Rect rect = CheckedRect(picture, before);
    Bytes out;
    AppendPictureHeader(out, {picture.type, picture.width, picture.height},
                        {picture.left, picture.top, picture.right, picture.bottom});
    out.insert(out.end(), picture.palette.begin(), picture.palette.end());

    const std::vector<std::uint32_t> after = PackedCanvas(DrawnCanvas(picture, before));
    std::vector<std::uint32_t> under(after.size(), 0);
    if (!before.empty()) under = PackedCanvas(before);
    std::array<std::uint32_t, kPaletteColours> colours{};
    for (std::size_t i = 0; i < kPaletteColours; ++i) colours[i] = PackedColour(&picture.palette[i * kColourBytes]);

    TokenJob job;
    job.width = picture.width;
    job.rect = rect;
    job.after = after.data();
    job.before = canvas == Canvas::Known ? under.data() : nullptr;
    job.palette = colours.data();
    job.paletteSize = colours.size();
    AppendTokens(out, job);
    return out;
}

Bytes DrawnCanvas(const CgPicture& picture, const Bytes& before)
{
    const Rect rect = CheckedRect(picture, before);
    Bytes canvas = before;
    canvas.resize(static_cast<std::size_t>(picture.width) * picture.height * 3, 0);
    for (std::uint32_t y = rect.top; y < rect.bottom; ++y) {
        for (std::uint32_t x = rect.left; x < rect.right; ++x) {
            const std::size_t at = std::size_t{y} * picture.width + x;
            const std::size_t colour = picture.pixels[at] * std::size_t{kColourBytes};
            std::copy_n(&picture.palette[colour], kColourBytes, &canvas[at * 3]);
        }
    }
    return canvas;
}

}  // namespace orv::pack
