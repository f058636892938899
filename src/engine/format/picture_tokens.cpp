#include "engine/format/picture_tokens.h"

namespace orv {

CopyDistances CopyDistancesFor(std::int64_t width)
{
    return {0, 1, width + 3, width + 2, width + 1, width, width - 1, width - 2};
}

std::uint32_t RunTokenBytes(std::uint32_t n)
{
    return n <= kNibbleRun ? 1 : 2 + (n - kNibbleRun) / kExtensionGoesOn;
}

void AppendRun(std::vector<std::uint8_t>& out, unsigned kind, std::uint32_t n)
{
    if (n <= kNibbleRun) {
        out.push_back(static_cast<std::uint8_t>(kind << 4 | n));
        return;
    }
    out.push_back(static_cast<std::uint8_t>(kind << 4));
    std::uint32_t rest = n - kNibbleRun;
    for (; rest >= kExtensionGoesOn; rest -= kExtensionGoesOn) out.push_back(kExtensionGoesOn);
    out.push_back(static_cast<std::uint8_t>(rest));
}

}  // namespace orv
