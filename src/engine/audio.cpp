#include "converter.h"

namespace orv {

// Sounds are written as raw copies until the WAV writer lands; large ones already
// pass through the fixed chunk, so a sound of any length needs bounded memory.
void Converter::WriteWaveFromMemory(const std::uint8_t* data, const ArchiveEntry& entry)
{
    DumpEntry(data, entry, -1);
}

void Converter::WriteWaveStreamed(FileHandle& archive, const ArchiveEntry& entry)
{
    DumpEntryStreamed(archive, entry);
}

}  // namespace orv
