#include "engine/format/frame_table.h"

#include <algorithm>

#include "engine/format/little_endian.h"

namespace orv {

namespace {

constexpr std::uint32_t kSlotBytes = 4;

}  // namespace

std::uint32_t FrameTableBytes(const std::uint8_t* first)
{
    return ReadLe32(first) / kSlotBytes * kSlotBytes;
}

std::uint32_t AnimationFrameCount(const std::uint8_t* data, std::uint32_t size)
{
    if (size < kSlotBytes) return 0;
    return std::min(FrameTableBytes(data), size) / kSlotBytes;
}

std::uint32_t AnimationFrameOffset(const std::uint8_t* data, std::uint32_t k)
{
    return ReadLe32(data + std::size_t{kSlotBytes} * (k - 1));
}

void AppendFrameTable(std::vector<std::uint8_t>& out, std::span<const std::uint32_t> frameSizes)
{
    auto offset = static_cast<std::uint32_t>(kSlotBytes * frameSizes.size());
    for (const std::uint32_t size : frameSizes) {
        AppendLe32(out, offset);
        offset += size;
    }
}

}  // namespace orv
