// BMP files as image programs and orvconv-cli write them.
#include <cstring>

#include "engine/format/bmp_layout.h"
#include "engine/format/little_endian.h"
#include "engine/base/scratch_buffer.h"
#include "pack/files/file_bytes.h"
#include "pack/files/pack_error.h"
#include "pack/files/picture_file.h"
#include "pack/files/picture_limits.h"

namespace orv::pack {

namespace {

constexpr std::uint32_t kTableLimit = 256;
// Pixels, headers and colour table of the largest picture accepted.
constexpr std::uint64_t kMaxBmpBytes = std::uint64_t{kMaxScratchBytes} * 4 / 3 + 4096;

}  // namespace

Picture ReadBmpFile(const std::string& path, const std::string& shown)
{
    const Bytes file = ReadFileBytes(path, shown, kMaxBmpBytes);
    const auto fail = [&](const std::string& why) { return PackError(shown + ": " + why); };
    if (file.size() < kBmpPixelOffset || file[0] != 'B' || file[1] != 'M') throw fail("not a BMP file");
    const std::uint8_t* info = file.data() + kBmpFileHeaderBytes;
    const std::uint32_t infoBytes = ReadLe32(info);
    const auto width = static_cast<std::int32_t>(ReadLe32(info + kInfoWidthAt));
    const auto height = static_cast<std::int32_t>(ReadLe32(info + kInfoHeightAt));
    const std::uint16_t bits = ReadLe16(info + kInfoBitCountAt);
    const std::uint32_t compression = ReadLe32(info + kInfoCompressionAt);
    const std::uint32_t used = ReadLe32(info + kInfoColoursUsedAt);
    if (infoBytes < kBitmapInfoHeaderBytes || compression != 0 || (bits != 8 && bits != 24 && bits != 32))
        throw fail("a BMP of " + std::to_string(bits) + " bits with compression " + std::to_string(compression)
                   + "; only uncompressed 8, 24 and 32 bits are read");
    if (width < 0 || height == INT32_MIN) throw fail("a BMP of negative width");
    const bool topDown = height < 0;
    const std::uint64_t rows = topDown ? -std::int64_t{height} : height;
    Picture picture = BlankPicture(static_cast<std::uint64_t>(width), rows, shown);

    const std::uint64_t stride = BmpStride(picture.width, bits);
    const std::uint64_t dataOffset = ReadLe32(file.data() + kBmpDataOffsetAt);
    if (dataOffset > file.size() || stride * rows > file.size() - dataOffset) throw fail("a BMP cut short");
    const std::uint64_t tableOffset = std::uint64_t{kBmpFileHeaderBytes} + infoBytes;
    const std::uint64_t tableEntries = used == 0 || used > kTableLimit ? kTableLimit : used;
    if (bits == 8 && (tableOffset > dataOffset || tableEntries * 4 > dataOffset - tableOffset))
        throw fail("a BMP whose colour table is cut short");

    for (std::uint64_t y = 0; y < rows; ++y) {
        const std::uint8_t* row = file.data() + dataOffset + (topDown ? y : rows - 1 - y) * stride;
        std::uint8_t* out = picture.bgr.data() + y * picture.width * 3;
        for (std::uint32_t x = 0; x < picture.width; ++x, out += 3) {
            if (bits == 8) {
                if (row[x] >= tableEntries) throw fail("a pixel outside the BMP's colour table");
                std::memcpy(out, file.data() + tableOffset + std::uint64_t{row[x]} * 4, 3);
            } else {
                std::memcpy(out, row + std::uint64_t{x} * (bits / 8), 3);
            }
        }
    }
    return picture;
}

}  // namespace orv::pack
