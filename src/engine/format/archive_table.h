#pragma once

#include <cstdint>
#include <string_view>

namespace orv {

// A pack archive starts with "pack" and a 16-bit entry count, then one 24-byte record
// an entry: 16 name bytes, the entry's offset and its size, all little-endian.
inline constexpr std::uint32_t kArchiveMagicBytes = 4;
inline constexpr std::uint32_t kArchiveHeaderBytes = 6;
inline constexpr std::uint32_t kArchiveEntryBytes = 24;
inline constexpr std::uint32_t kEntryNameBytes = 16;
inline constexpr std::uint32_t kRecordOffsetAt = 16;
inline constexpr std::uint32_t kRecordSizeAt = 20;

// One record of a pack archive's table. Converters receive every entry in this form.
struct ArchiveEntry {
    char name[kEntryNameBytes] = {};  // CP932 bytes up to the first NUL, or all 16
    std::uint32_t offset = 0;  // absolute position in the archive
    std::uint32_t size = 0;  // length in bytes

    std::string_view Name() const;
};

bool HasArchiveMagic(const std::uint8_t* header);
std::uint32_t ArchiveEntryCount(const std::uint8_t* header);
ArchiveEntry ParseArchiveEntry(const std::uint8_t* record);

// The kArchiveHeaderBytes of an archive of count entries.
void PutArchiveHeader(std::uint8_t* at, std::uint16_t count);
// The kArchiveEntryBytes of a record: the name's bytes, at most 16 and zero-filled, then
// offset and size.
void PutArchiveRecord(std::uint8_t* at, std::string_view name, std::uint32_t offset, std::uint32_t size);

}  // namespace orv
