#include "pack/archive/archive_layout.h"

#include "engine/format/archive_table.h"

namespace orv::pack {

Bytes PackHeader(std::uint16_t count)
{
    Bytes header(kArchiveHeaderBytes);
    PutArchiveHeader(header.data(), count);
    return header;
}

void AppendRecord(Bytes& archive, std::string_view name, std::uint32_t offset, std::uint32_t size)
{
    const std::size_t at = archive.size();
    archive.resize(at + kArchiveEntryBytes);
    PutArchiveRecord(archive.data() + at, name, offset, size);
}

Bytes ArchiveTable(const std::vector<TableItem>& items)
{
    Bytes table = PackHeader(static_cast<std::uint16_t>(items.size()));
    std::uint64_t offset = kArchiveHeaderBytes + std::uint64_t{kArchiveEntryBytes} * items.size();
    for (const TableItem& item : items) {
        AppendRecord(table, item.name, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(item.size));
        offset += item.size;
    }
    return table;
}

Bytes BuildPack(const std::vector<PackItem>& items)
{
    std::vector<TableItem> table;
    table.reserve(items.size());
    for (const PackItem& item : items) table.push_back({item.name, item.bytes.size()});
    Bytes archive = ArchiveTable(table);
    for (const PackItem& item : items) archive.insert(archive.end(), item.bytes.begin(), item.bytes.end());
    return archive;
}

}  // namespace orv::pack
