#include "pack/picture_encoder.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "engine/read/image_decoder.h"
#include "pack/cg_picture.h"

namespace orv::pack {

namespace {

std::uint32_t ColourAt(const Bytes& bgr, std::size_t pixel)
{
    const std::uint8_t* at = &bgr[pixel * 3];
    return static_cast<std::uint32_t>(at[0] | at[1] << 8 | at[2] << 16);
}

// The smallest rectangle outside which the picture equals the canvas under it.
Rect ChangedRect(const Picture& picture, const Bytes& before)
{
    Rect rect{picture.width, picture.height, 0, 0};
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const std::size_t at = (std::size_t{y} * picture.width + x) * 3;
            const std::uint8_t zero[3] = {};
            const std::uint8_t* under = before.empty() ? zero : &before[at];
            if (std::equal(under, under + 3, &picture.bgr[at])) continue;
            rect = {std::min(rect.left, x), std::min(rect.top, y), std::max(rect.right, x + 1),
                    std::max(rect.bottom, y + 1)};
        }
    }
    return rect.empty() ? Rect{} : rect;
}

}  // namespace

std::size_t ColourCount(const Picture& picture)
{
    std::unordered_set<std::uint32_t> colours;
    for (std::size_t i = 0; i < picture.bgr.size() / 3; ++i) colours.insert(ColourAt(picture.bgr, i));
    return colours.size();
}

Bytes EncodePicture(const Picture& picture, const Bytes* before)
{
    CgPicture full;
    full.width = picture.width;
    full.height = picture.height;
    full.pixels.resize(std::size_t{picture.width} * picture.height);
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    for (std::size_t i = 0; i < full.pixels.size(); ++i) {
        const std::uint32_t colour = ColourAt(picture.bgr, i);
        auto [slot, added] = index.try_emplace(colour, static_cast<std::uint8_t>(index.size()));
        if (added) {
            if (index.size() > kMaxPictureColours) throw std::invalid_argument("more than 128 colours");
            std::copy_n(&picture.bgr[i * 3], 3, &full.palette[std::size_t{slot->second} * 3]);
        }
        full.pixels[i] = slot->second;
    }
    if (before == nullptr) return EncodeCg(full, {}, Canvas::Unknown);

    Bytes best = EncodeCg(full, *before);
    const Rect changed = ChangedRect(picture, *before);
    if (changed.left == 0 && changed.top == 0 && changed.right == picture.width && changed.bottom == picture.height)
        return best;
    CgPicture part = full;
    part.type = kRectPicture;
    part.left = static_cast<std::uint16_t>(changed.left);
    part.top = static_cast<std::uint16_t>(changed.top);
    part.right = static_cast<std::uint16_t>(changed.right);
    part.bottom = static_cast<std::uint16_t>(changed.bottom);
    Bytes rectangle = EncodeCg(part, *before);
    return rectangle.size() < best.size() ? rectangle : best;
}

}  // namespace orv::pack
