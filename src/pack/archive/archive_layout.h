#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/format/little_endian.h"
#include "pack/encode/cg_tokens.h"

namespace orv::pack {

inline constexpr std::uint32_t kMaxArchiveEntries = 65535;
// Entries are addressed by 32-bit offsets and sizes: an archive ends by 4 GiB.
inline constexpr std::uint64_t kMaxArchiveBytes = std::uint64_t{1} << 32;

// "pack" and the entry count.
Bytes PackHeader(std::uint16_t count);
// One table record: the name's bytes (at most 16, zero-filled), offset and size.
void AppendRecord(Bytes& archive, std::string_view name, std::uint32_t offset, std::uint32_t size);

// The header and table of an archive whose entries, of these names and sizes, follow
// the table in order. The caller keeps to the limits above.
struct TableItem {
    std::string name;  // as stored: CP932, at most 16 bytes
    std::uint64_t size = 0;
};
Bytes ArchiveTable(const std::vector<TableItem>& items);

// One entry of an archive built in memory.
struct PackItem {
    std::string name;
    Bytes bytes;
};
// The archive: header, table, then each entry's bytes in order.
Bytes BuildPack(const std::vector<PackItem>& items);

}  // namespace orv::pack
