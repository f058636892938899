#include "engine/export/frame_palette.h"

#include <libimagequant.h>

#include <memory>

#include "engine/base/fatal_error.h"

namespace orv {

namespace {

// Colours seen so far, in an open-addressed table four times the largest palette.
class ColourTable {
public:
    ColourTable() { keys_.fill(kEmpty); }

    // The colour's index, given the next one when new; -1 once a 257th colour turns up.
    int IndexOf(std::uint32_t colour, IndexedPicture& out)
    {
        std::uint32_t slot = (colour * 2654435761u) >> (32 - kSlotBits);
        while (keys_[slot] != kEmpty) {
            if (keys_[slot] == colour) return indices_[slot];
            slot = (slot + 1) & (kSlots - 1);
        }
        if (out.colourCount == 256) return -1;
        keys_[slot] = colour;
        indices_[slot] = static_cast<std::uint8_t>(out.colourCount);
        out.colours[static_cast<std::size_t>(out.colourCount)]
            = {static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
               static_cast<std::uint8_t>(colour)};
        return out.colourCount++;
    }

private:
    static constexpr int kSlotBits = 10;
    static constexpr std::uint32_t kSlots = 1u << kSlotBits;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;  // no 24-bit colour
    std::array<std::uint32_t, kSlots> keys_{};
    std::array<std::uint8_t, kSlots> indices_{};
};

bool IndexExactly(const std::uint8_t* pixels, std::size_t count, IndexedPicture& out)
{
    ColourTable table;
    std::uint32_t last = 0xFFFFFFFF;
    int lastIndex = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* bgr = pixels + i * 3;
        const std::uint32_t colour = std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0];
        if (colour != last) {
            lastIndex = table.IndexOf(colour, out);
            if (lastIndex < 0) return false;
            last = colour;
        }
        out.indices[i] = static_cast<std::uint8_t>(lastIndex);
    }
    return true;
}

struct AttrDeleter {
    void operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
};
struct ImageDeleter {
    void operator()(liq_image* image) const { liq_image_destroy(image); }
};
struct ResultDeleter {
    void operator()(liq_result* result) const { liq_result_destroy(result); }
};

void Reduce(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height, IndexedPicture& out)
{
    const std::size_t count = std::size_t{width} * height;
    std::vector<std::uint8_t> rgba(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        rgba[i * 4] = pixels[i * 3 + 2];
        rgba[i * 4 + 1] = pixels[i * 3 + 1];
        rgba[i * 4 + 2] = pixels[i * 3];
        rgba[i * 4 + 3] = 255;
    }
    const std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    if (attr == nullptr || liq_set_max_colors(attr.get(), 256) != LIQ_OK) throw FatalError::OutOfMemory();
    const std::unique_ptr<liq_image, ImageDeleter> image(
        liq_image_create_rgba(attr.get(), rgba.data(), static_cast<int>(width), static_cast<int>(height), 0));
    if (image == nullptr) throw FatalError::OutOfMemory();
    liq_result* quantized = nullptr;
    if (liq_image_quantize(image.get(), attr.get(), &quantized) != LIQ_OK) throw FatalError::OutOfMemory();
    const std::unique_ptr<liq_result, ResultDeleter> result(quantized);
    if (liq_write_remapped_image(result.get(), image.get(), out.indices.data(), count) != LIQ_OK)
        throw FatalError::OutOfMemory();
    const liq_palette* palette = liq_get_palette(result.get());
    out.colourCount = static_cast<int>(palette->count);
    for (unsigned i = 0; i < palette->count; ++i)
        out.colours[i] = {palette->entries[i].r, palette->entries[i].g, palette->entries[i].b};
    out.reduced = true;
}

}  // namespace

void IndexPicture(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height, IndexedPicture& out)
{
    const std::size_t count = std::size_t{width} * height;
    out.indices.resize(count);
    out.colourCount = 0;
    out.reduced = false;
    if (!IndexExactly(pixels, count, out)) Reduce(pixels, width, height, out);
}

}  // namespace orv
