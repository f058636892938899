// Arbitrary pictures drawn over a patterned canvas exactly as large as the header asks,
// followed by a margin of up to 255 pixels, and compared with a plain decoding written
// here on its own. The picture is a buffer of its own length, so that the sanitizer
// sees every read past its end; a canvas block may be larger than the picture needs
// (the engine reuses larger blocks), so the margin must come through unchanged.
//
// Input: one byte, the margin in pixels (it also seeds the canvas pattern), then the
// picture.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "engine/read/image_decoder.h"

namespace {

constexpr std::uint8_t kMarginByte = 0xA5;
// Larger canvases add time, not paths: every size above this behaves alike.
constexpr std::size_t kMaxCanvasBytes = std::size_t{1} << 18;

// The format's decoding, token by token and byte by byte, with this engine's choice
// for a token that would write or read outside the canvas: it ends decoding and
// changes nothing.
void PlainDecode(const std::vector<std::uint8_t>& picture, std::uint8_t* canvas, std::int64_t canvasBytes)
{
    const auto byteAt = [&](std::size_t at) -> std::int64_t { return at < picture.size() ? picture[at] : 0; };
    const auto le16 = [&](std::size_t at) { return byteAt(at) | byteAt(at + 1) << 8; };
    const bool rectangle = byteAt(0) == 2;
    const std::int64_t width = le16(1);
    const std::int64_t left = rectangle ? le16(5) : 0;
    const std::int64_t top = rectangle ? le16(7) : 0;
    const std::int64_t right = rectangle ? le16(9) : width;
    const std::int64_t bottom = rectangle ? le16(11) : le16(3);
    const std::size_t palette = rectangle ? 13 : 5;
    const std::int64_t back[8]
        = {0, 3, (width + 3) * 3, (width + 2) * 3, (width + 1) * 3, width * 3, (width - 1) * 3, (width - 2) * 3};

    std::size_t at = palette + 384;
    std::int64_t x = left;
    std::int64_t y = top;
    std::int64_t to = (y * width + x) * 3;
    while (at < picture.size()) {
        const std::uint8_t d = picture[at++];
        if (d >= 0x80) {
            if (to < 0 || to + 3 > canvasBytes) return;
            for (std::size_t i = 0; i < 3; ++i)
                canvas[to + i] = static_cast<std::uint8_t>(byteAt(palette + std::size_t{d - 0x80u} * 3 + i));
            to += 3;
            x += 1;
        } else {
            if (at == picture.size()) return;
            std::int64_t n = d & 0x0F;
            if (n == 0) {
                n = 15;
                std::uint8_t e = 255;
                while (e == 255) {
                    if (at == picture.size()) return;
                    e = picture[at++];
                    n += e;
                }
            }
            if (d >> 4 != 0) {
                const std::int64_t from = to - back[d >> 4];
                if (from < 0 || to < 0 || to + 3 * n > canvasBytes || from + 3 * n > canvasBytes) return;
                for (std::int64_t i = 0; i < 3 * n; ++i) canvas[to + i] = canvas[from + i];
            }
            to += 3 * n;
            x += n;
        }
        if (x >= right) {
            if (++y >= bottom) return;
            x = left;
            to = (y * width + x) * 3;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orv::fuzz::InputReader input(data, size);
    const std::uint8_t marginPixels = input.Byte();
    const std::string_view rest = input.Rest();
    const std::vector<std::uint8_t> picture(rest.begin(), rest.end());
    const orv::fuzz::PictureSize header = orv::fuzz::PictureSizeOf(rest);
    if (header.type != 0 && header.type != 2) return 0;
    const std::size_t canvasBytes = std::size_t{header.width} * header.height * 3;
    if (canvasBytes > kMaxCanvasBytes) return 0;

    std::vector<std::uint8_t> expected(canvasBytes);
    for (std::size_t i = 0; i < canvasBytes; ++i) expected[i] = static_cast<std::uint8_t>(i * 37 + marginPixels);
    std::vector<std::uint8_t> canvas(expected);
    canvas.resize(canvasBytes + std::size_t{marginPixels} * 3, kMarginByte);

    orv::DecodeImage(picture.data(), canvas.data(), static_cast<std::uint32_t>(picture.size()));
    PlainDecode(picture, expected.data(), static_cast<std::int64_t>(canvasBytes));
    const auto margin = canvas.begin() + static_cast<std::ptrdiff_t>(canvasBytes);
    orv::fuzz::Require(std::equal(canvas.begin(), margin, expected.begin(), expected.end()));
    orv::fuzz::Require(std::all_of(margin, canvas.end(), [](std::uint8_t byte) { return byte == kMarginByte; }));
    return 0;
}
