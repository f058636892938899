#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

inline constexpr std::uint32_t kArchiveHeaderBytes = 6;  // "pack" + 16-bit entry count
inline constexpr std::uint32_t kArchiveEntryBytes = 24;
inline constexpr std::uint32_t kEntryNameBytes = 16;
// Sound entries larger than this are copied from the open archive in chunks of
// this size; all other entries are read whole.
inline constexpr std::uint32_t kSoundStreamThreshold = 2'862'055;

// One record of a pack archive's table. Converters receive every entry in this form.
struct ArchiveEntry {
    char name[kEntryNameBytes] = {};  // CP932 bytes up to the first NUL, or all 16
    std::uint32_t offset = 0;  // absolute position in the archive
    std::uint32_t size = 0;  // length in bytes

    std::string_view Name() const;
};

// A table record as stored: 16 name bytes, then offset and size, little-endian.
ArchiveEntry ParseArchiveEntry(const std::uint8_t* record);

enum class EntryKind { Sound, Animation, Image, Other };

// Decided by the last three bytes of the name, case-sensitive: "pcm", "ani", ".cg".
EntryKind KindOf(const ArchiveEntry& entry);

// What an input file is taken for, by the extension of its lower-cased name.
enum class InputKind { Archive, Animation, Unsupported };
InputKind InputKindOf(std::string_view srcName);

bool HasArchiveMagic(const std::uint8_t* header);
std::uint32_t ArchiveEntryCount(const std::uint8_t* header);

class InputFile;
class ScratchBuffer;

// The entry count of a pack archive; none when the file does not start with "pack".
std::optional<std::uint32_t> ReadArchiveHeader(InputFile& file);
// The count table records, zero-filled where the file ends before them, in tableBuf.
const std::uint8_t* ReadArchiveTable(InputFile& file, ScratchBuffer& tableBuf, std::uint32_t count);
// The record as converters take it: its size cut to the bytes the file holds from its
// offset on, so that a table claiming gigabytes costs no more than the file has.
ArchiveEntry EntryWithinFile(const std::uint8_t* record, std::uint64_t fileSize);

}  // namespace orv
