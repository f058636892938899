#include "pack/animation_data.h"

#include "engine/format/frame_table.h"

namespace orv::pack {

Bytes BuildAnimation(const std::vector<Bytes>& frames)
{
    std::vector<std::uint32_t> sizes;
    sizes.reserve(frames.size());
    for (const Bytes& frame : frames) sizes.push_back(static_cast<std::uint32_t>(frame.size()));
    Bytes data;
    AppendFrameTable(data, sizes);
    for (const Bytes& frame : frames) data.insert(data.end(), frame.begin(), frame.end());
    return data;
}

}  // namespace orv::pack
