#include "tools/pack_writer.h"

#include <algorithm>
#include <fstream>

namespace orv::tools {

void AppendLe32(Bytes& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

Bytes PackHeader(std::uint16_t count)
{
    Bytes header{'p', 'a', 'c', 'k'};
    header.push_back(static_cast<std::uint8_t>(count));
    header.push_back(static_cast<std::uint8_t>(count >> 8));
    return header;
}

void AppendRecord(Bytes& archive, std::string_view name, std::uint32_t offset, std::uint32_t size)
{
    std::uint8_t field[16] = {};
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), sizeof field), field);
    archive.insert(archive.end(), field, field + sizeof field);
    AppendLe32(archive, offset);
    AppendLe32(archive, size);
}

Bytes BuildPack(const std::vector<PackItem>& items)
{
    Bytes archive = PackHeader(static_cast<std::uint16_t>(items.size()));
    auto offset = static_cast<std::uint32_t>(6 + 24 * items.size());
    for (const PackItem& item : items) {
        AppendRecord(archive, item.name, offset, static_cast<std::uint32_t>(item.bytes.size()));
        offset += static_cast<std::uint32_t>(item.bytes.size());
    }
    for (const PackItem& item : items) archive.insert(archive.end(), item.bytes.begin(), item.bytes.end());
    return archive;
}

Bytes BytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace orv::tools
