#include "engine/format/picture_header.h"

#include <algorithm>

#include "engine/format/little_endian.h"

namespace orv {

namespace {

constexpr std::uint32_t kWidthAt = 1;
constexpr std::uint32_t kHeightAt = 3;
constexpr std::uint32_t kLeftAt = 5;
constexpr std::uint32_t kTopAt = 7;
constexpr std::uint32_t kRightAt = 9;
constexpr std::uint32_t kBottomAt = 11;

}  // namespace

PictureHeader ReadPictureHeader(const std::uint8_t* data, std::uint32_t size)
{
    std::uint8_t head[kPictureHeaderBytes] = {};
    std::copy_n(data, std::min(size, kPictureHeaderBytes), head);
    return {head[0], ReadLe16(head + kWidthAt), ReadLe16(head + kHeightAt)};
}

PictureRect ReadPictureRect(const std::uint8_t* header)
{
    if (header[0] != kRectPicture) return {0, 0, ReadLe16(header + kWidthAt), ReadLe16(header + kHeightAt)};
    return {ReadLe16(header + kLeftAt), ReadLe16(header + kTopAt), ReadLe16(header + kRightAt),
            ReadLe16(header + kBottomAt)};
}

std::uint32_t PaletteOffset(std::uint8_t type)
{
    return type == kRectPicture ? kRectHeaderBytes : kPictureHeaderBytes;
}

void AppendPictureHeader(std::vector<std::uint8_t>& out, const PictureHeader& header, const PictureRect& rect)
{
    out.push_back(header.type);
    AppendLe16(out, header.width);
    AppendLe16(out, header.height);
    if (header.type != kRectPicture) return;
    AppendLe16(out, rect.left);
    AppendLe16(out, rect.top);
    AppendLe16(out, rect.right);
    AppendLe16(out, rect.bottom);
}

}  // namespace orv
