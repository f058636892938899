#include "pack/encode/animation_data.h"

#include <algorithm>

#include "engine/format/little_endian.h"

namespace orv::pack {

namespace {

constexpr std::uint32_t kSlotBytes = 4;

bool IsTailOf(const Bytes& part, const Bytes& whole)
{
    return part.size() <= whole.size() && std::equal(part.rbegin(), part.rend(), whole.rbegin());
}

}  // namespace

Bytes LayOutAnimation(const std::vector<AnimationFrame>& frames, std::vector<std::uint32_t>& longer)
{
    const std::size_t count = frames.size();
    if (count == 0) return {};
    std::size_t last = count;
    for (std::size_t k = 0; k < count; ++k) {
        if (!frames[k].runsToEnd) continue;
        if (k == 0) {
            last = 0;
            break;
        }
        if (last == count || frames[k].bytes.size() > frames[last].bytes.size()) last = k;
    }
    const auto inside = [&](std::size_t k) {
        return last != count && k != last && frames[k].runsToEnd && IsTailOf(frames[k].bytes, frames[last].bytes);
    };
    std::vector<std::size_t> order;
    if (last == 0) order.push_back(0);
    for (std::size_t k = 0; k < count; ++k) {
        if (k != last && !inside(k)) order.push_back(k);
    }
    if (last != count && last != 0) order.push_back(last);

    std::vector<std::uint64_t> offsets(count);
    std::uint64_t end = kSlotBytes * count;
    for (const std::size_t k : order) {
        offsets[k] = end;
        end += frames[k].bytes.size();
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (inside(k)) offsets[k] = offsets[last] + frames[last].bytes.size() - frames[k].bytes.size();
        if (frames[k].runsToEnd && offsets[k] + frames[k].bytes.size() != end)
            longer.push_back(static_cast<std::uint32_t>(k + 1));
    }
    Bytes data;
    data.reserve(end);
    for (const std::uint64_t offset : offsets) AppendLe32(data, static_cast<std::uint32_t>(offset));
    for (const std::size_t k : order) data.insert(data.end(), frames[k].bytes.begin(), frames[k].bytes.end());
    return data;
}

Bytes BuildAnimation(const std::vector<Bytes>& frames)
{
    std::vector<AnimationFrame> laid;
    laid.reserve(frames.size());
    for (const Bytes& frame : frames) laid.push_back({frame, false});
    std::vector<std::uint32_t> longer;
    return LayOutAnimation(laid, longer);
}

}  // namespace orv::pack
