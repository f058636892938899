#include "pack/sound_entry.h"

namespace orv::pack {

Bytes SoundEntryHeader(std::uint8_t code, const std::array<std::uint8_t, 3>& lead)
{
    return Bytes{lead[0], lead[1], lead[2], code};
}

}  // namespace orv::pack
