#include <utility>

#include "engine/convert/converter.h"

namespace orv {

void Converter::DumpEntry(const std::uint8_t* data, const ArchiveEntry& entry, std::int32_t frameNo)
{
    const std::string path = EntryOutputPath(entry, FrameSuffix(frameNo));
    view_.ShowOutputPath(path);
    Claim(path, entry, frameNo);
    OutputFile out = CreateOutputFile(path);
    WriteOutput(out, data, entry.size);
    QueueOutput(std::move(out));
}

}  // namespace orv
