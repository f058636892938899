#include "animation.h"

#include <algorithm>

#include "bytes.h"
#include "converter.h"

namespace orv {

std::uint32_t AnimationFrameCount(const std::uint8_t* data, std::uint32_t size)
{
    if (size < 4) return 0;
    return std::min(ReadLe32(data) / 4, size / 4);
}

std::uint32_t AnimationFrameOffset(const std::uint8_t* data, std::uint32_t k)
{
    return ReadLe32(data + 4 * (k - 1));
}

// Animations are written as raw copies until frame composing lands.
void Converter::ConvertAnimation(const std::uint8_t* data, ArchiveEntry& entry)
{
    DumpEntry(data, entry, -1);
}

}  // namespace orv
