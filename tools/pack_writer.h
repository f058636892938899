#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::tools {

using Bytes = std::vector<std::uint8_t>;

// One entry of a pack archive to be built: its name as stored (CP932 bytes, at most
// 16) and its content.
struct PackItem {
    std::string name;
    Bytes bytes;
};

// A pack archive: "pack", the entry count, the table, then each entry's bytes in order.
Bytes BuildPack(const std::vector<PackItem>& items);

// Pieces for archives whose tables say what the bytes do not hold.
Bytes PackHeader(std::uint16_t count);
void AppendRecord(Bytes& archive, std::string_view name, std::uint32_t offset, std::uint32_t size);
void AppendLe32(Bytes& bytes, std::uint32_t value);

Bytes BytesOf(std::string_view text);

// Writes bytes to path, replacing the file; false on any failure.
bool WriteFileBytes(const std::string& path, const Bytes& bytes);

}  // namespace orv::tools
