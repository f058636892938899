#include "pack/encode/sound_entry.h"

#include <algorithm>

#include "engine/format/sound_format.h"

namespace orv::pack {

Bytes SoundEntryHeader(std::uint8_t code, const std::array<std::uint8_t, 3>& lead)
{
    Bytes header(kSoundHeaderBytes);
    std::copy(lead.begin(), lead.end(), header.begin());
    header[kSoundCodeAt] = code;
    return header;
}

}  // namespace orv::pack
