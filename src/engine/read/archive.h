#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/format/archive_table.h"

namespace orv {

// Sound entries larger than this are copied from the open archive in chunks of
// this size; all other entries are read whole.
inline constexpr std::uint32_t kSoundStreamThreshold = 2'862'055;

enum class EntryKind { Sound, Animation, Picture, Other };

// Decided by the last three bytes of the name, case-sensitive: "pcm", "ani", ".cg".
EntryKind KindOf(const ArchiveEntry& entry);
// The one name of each kind, as the viewer, the page, the Python module and the
// documentation give it: "picture", "animation", "sound", "other".
const char* EntryKindName(EntryKind kind);

// What an input file is taken for, by the extension of its lower-cased name.
enum class InputKind { Archive, Animation, Unsupported };
InputKind InputKindOf(std::string_view srcName);

// Why an input is passed over unread: it is a folder, its name is neither .dat nor .ani,
// or a .dat file does not start with "pack".
enum class PassedOver { Folder, NotAnInputName, NotAPackArchive };
// The reason known before the input is opened, from the path and its kind: none for a
// file named as an input.
std::optional<PassedOver> PassedOverUnopened(const std::string& path, InputKind kind);

class InputFile;
class ScratchBuffer;

// The entry count of a pack archive; none when the file does not start with "pack".
std::optional<std::uint32_t> ReadArchiveHeader(const InputFile& file);
// The count table records, zero-filled where the file ends before them, in tableBuf.
const std::uint8_t* ReadArchiveTable(const InputFile& file, ScratchBuffer& tableBuf, std::uint32_t count);
// Whether the file, fileSize bytes long, ends before the header and the table of count
// records do: the records it lacks read as zeros.
bool TablePastEnd(std::uint32_t count, std::uint64_t fileSize);
// Whether the file ends before the bytes the record claims (as stored, not cut).
bool EntryPastEnd(const ArchiveEntry& stored, std::uint64_t fileSize);
// The record as converters take it: its size cut to the bytes the file holds from its
// offset on, so that a table claiming gigabytes costs no more than the file has.
ArchiveEntry EntryWithinFile(const std::uint8_t* record, std::uint64_t fileSize);

}  // namespace orv
