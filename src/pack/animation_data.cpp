#include "pack/animation_data.h"

#include "pack/archive_layout.h"

namespace orv::pack {

Bytes BuildAnimation(const std::vector<Bytes>& frames)
{
    Bytes data;
    auto offset = static_cast<std::uint32_t>(4 * frames.size());
    for (const Bytes& frame : frames) {
        AppendLe32(data, offset);
        offset += static_cast<std::uint32_t>(frame.size());
    }
    for (const Bytes& frame : frames) data.insert(data.end(), frame.begin(), frame.end());
    return data;
}

}  // namespace orv::pack
