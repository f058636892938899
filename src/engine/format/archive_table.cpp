#include "engine/format/archive_table.h"

#include <algorithm>
#include <cstring>

#include "engine/format/little_endian.h"

namespace orv {

namespace {

constexpr char kArchiveMagic[kArchiveMagicBytes] = {'p', 'a', 'c', 'k'};

}  // namespace

std::string_view ArchiveEntry::Name() const
{
    const void* nul = std::memchr(name, '\0', sizeof name);
    const auto length = nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - name) : sizeof name;
    return {name, length};
}

bool HasArchiveMagic(const std::uint8_t* header)
{
    return std::memcmp(header, kArchiveMagic, kArchiveMagicBytes) == 0;
}

std::uint32_t ArchiveEntryCount(const std::uint8_t* header)
{
    return ReadLe16(header + kArchiveMagicBytes);
}

ArchiveEntry ParseArchiveEntry(const std::uint8_t* record)
{
    ArchiveEntry entry;
    std::memcpy(entry.name, record, kEntryNameBytes);
    entry.offset = ReadLe32(record + kRecordOffsetAt);
    entry.size = ReadLe32(record + kRecordSizeAt);
    return entry;
}

void PutArchiveHeader(std::uint8_t* at, std::uint16_t count)
{
    std::memcpy(at, kArchiveMagic, kArchiveMagicBytes);
    PutLe16(at + kArchiveMagicBytes, count);
}

void PutArchiveRecord(std::uint8_t* at, std::string_view name, std::uint32_t offset, std::uint32_t size)
{
    const std::size_t nameBytes = std::min<std::size_t>(name.size(), kEntryNameBytes);
    std::copy_n(name.begin(), nameBytes, at);
    std::fill(at + nameBytes, at + kEntryNameBytes, 0);
    PutLe32(at + kRecordOffsetAt, offset);
    PutLe32(at + kRecordSizeAt, size);
}

}  // namespace orv
