#include <cstdio>
#include <utility>

#include "engine/converter.h"

namespace orv {

std::string FrameSuffix(std::int32_t frameNo)
{
    if (frameNo < 0) return {};
    char text[16];
    std::snprintf(text, sizeof text, "_%04d", static_cast<int>(frameNo));
    return text;
}

void Converter::DumpEntry(const std::uint8_t* data, const ArchiveEntry& entry, std::int32_t frameNo)
{
    const std::string path = EntryOutputPath(entry, FrameSuffix(frameNo));
    view_.ShowOutputPath(path);
    OutputFile out = CreateOutputFile(path);
    WriteOutput(out, data, entry.size);
    QueueOutput(std::move(out));
}

}  // namespace orv
