#include "pack/encode/quantize.h"

#include <libimagequant.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace orv::pack {

namespace {

struct AttrFree {
    void operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
};
struct ImageFree {
    void operator()(liq_image* image) const { liq_image_destroy(image); }
};
struct ResultFree {
    void operator()(liq_result* result) const { liq_result_destroy(result); }
};

}  // namespace

Picture Quantized(const Picture& picture, std::size_t maxColours)
{
    const std::size_t pixels = std::size_t{picture.width} * picture.height;
    if (pixels == 0) return picture;
    std::vector<liq_color> rgba(pixels);
    for (std::size_t i = 0; i < pixels; ++i)
        rgba[i] = {picture.bgr[i * 3 + 2], picture.bgr[i * 3 + 1], picture.bgr[i * 3], 255};

    const std::unique_ptr<liq_attr, AttrFree> attr(liq_attr_create());
    if (!attr || liq_set_max_colors(attr.get(), static_cast<int>(maxColours)) != LIQ_OK)
        throw std::runtime_error("libimagequant cannot be set up");
    const std::unique_ptr<liq_image, ImageFree> image(
        liq_image_create_rgba(attr.get(), rgba.data(), picture.width, picture.height, 0));
    liq_result* made = nullptr;
    if (!image || liq_image_quantize(image.get(), attr.get(), &made) != LIQ_OK)
        throw std::runtime_error("libimagequant cannot reduce the colours");
    const std::unique_ptr<liq_result, ResultFree> result(made);

    std::vector<unsigned char> indices(pixels);
    if (liq_write_remapped_image(result.get(), image.get(), indices.data(), indices.size()) != LIQ_OK)
        throw std::runtime_error("libimagequant cannot remap the picture");
    const liq_palette* palette = liq_get_palette(result.get());
    Picture reduced = picture;
    for (std::size_t i = 0; i < pixels; ++i) {
        const liq_color& colour = palette->entries[indices[i]];
        reduced.bgr[i * 3] = colour.b;
        reduced.bgr[i * 3 + 1] = colour.g;
        reduced.bgr[i * 3 + 2] = colour.r;
    }
    return reduced;
}

}  // namespace orv::pack
