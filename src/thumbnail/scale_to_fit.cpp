#include "thumbnail/scale_to_fit.h"

#include <algorithm>
#include <vector>

namespace orv {

namespace {

// Where each output column (or row) starts in the source, plus the end: source pixels
// [edges[k], edges[k + 1]) make output pixel k, none left out and none used twice.
std::vector<std::uint32_t> Edges(std::uint32_t from, std::uint32_t to)
{
    std::vector<std::uint32_t> edges(to + 1);
    for (std::uint32_t k = 0; k <= to; ++k) edges[k] = static_cast<std::uint32_t>(std::uint64_t{k} * from / to);
    return edges;
}

}  // namespace

RgbImage ScaleToFit(const RgbImage& picture, std::uint32_t side)
{
    const std::uint32_t longer = std::max(picture.width, picture.height);
    // A picture without pixels has nothing to average: it stays as it is, empty.
    if (longer <= side || side == 0 || picture.width == 0 || picture.height == 0) return picture;
    const auto scaled = [&](std::uint32_t length) {
        return std::max<std::uint32_t>(
            1, static_cast<std::uint32_t>((std::uint64_t{length} * side + longer / 2) / longer));
    };
    RgbImage out{scaled(picture.width), scaled(picture.height), {}};
    out.rgb.resize(std::size_t{out.width} * out.height * 3);
    const std::vector<std::uint32_t> columns = Edges(picture.width, out.width);
    const std::vector<std::uint32_t> rows = Edges(picture.height, out.height);
    // Sums of one output row's source rows, column by column, then divided by the area.
    std::vector<std::uint64_t> sums(std::size_t{out.width} * 3);
    for (std::uint32_t y = 0; y < out.height; ++y) {
        std::ranges::fill(sums, 0);
        for (std::uint32_t sy = rows[y]; sy < rows[y + 1]; ++sy) {
            const std::uint8_t* source = picture.rgb.data() + std::size_t{sy} * picture.width * 3;
            for (std::uint32_t x = 0; x < out.width; ++x)
                for (std::uint32_t sx = columns[x]; sx < columns[x + 1]; ++sx)
                    for (int c = 0; c < 3; ++c) sums[std::size_t{x} * 3 + c] += source[std::size_t{sx} * 3 + c];
        }
        std::uint8_t* target = out.rgb.data() + std::size_t{y} * out.width * 3;
        for (std::uint32_t x = 0; x < out.width; ++x) {
            const std::uint64_t area = std::uint64_t{columns[x + 1] - columns[x]} * (rows[y + 1] - rows[y]);
            for (int c = 0; c < 3; ++c)
                target[std::size_t{x} * 3 + c]
                    = static_cast<std::uint8_t>((sums[std::size_t{x} * 3 + c] + area / 2) / area);
        }
    }
    return out;
}

}  // namespace orv
