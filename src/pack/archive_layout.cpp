#include "pack/archive_layout.h"

#include <algorithm>

#include "engine/archive.h"

namespace orv::pack {

Bytes PackHeader(std::uint16_t count)
{
    Bytes header{'p', 'a', 'c', 'k'};
    header.push_back(static_cast<std::uint8_t>(count));
    header.push_back(static_cast<std::uint8_t>(count >> 8));
    return header;
}

void AppendRecord(Bytes& archive, std::string_view name, std::uint32_t offset, std::uint32_t size)
{
    std::uint8_t field[kEntryNameBytes] = {};
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), sizeof field), field);
    archive.insert(archive.end(), field, field + sizeof field);
    AppendLe32(archive, offset);
    AppendLe32(archive, size);
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
