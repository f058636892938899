#include "engine/read/archive.h"

#include <sys/stat.h>

#include <algorithm>

#include "engine/io/input_file.h"
#include "engine/base/text.h"

namespace orv {

EntryKind KindOf(const ArchiveEntry& entry)
{
    const std::string_view name = entry.Name();
    if (name.size() < 3) return EntryKind::Other;
    const std::string_view suffix = name.substr(name.size() - 3);
    if (suffix == "pcm") return EntryKind::Sound;
    if (suffix == "ani") return EntryKind::Animation;
    if (suffix == ".cg") return EntryKind::Picture;
    return EntryKind::Other;
}

const char* EntryKindName(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Picture: return "picture";
    case EntryKind::Animation: return "animation";
    case EntryKind::Sound: return "sound";
    case EntryKind::Other: break;
    }
    return "other";
}

InputKind InputKindOf(std::string_view srcName)
{
    const std::string_view ext = ExtensionOf(srcName);
    if (ext == ".dat") return InputKind::Archive;
    if (ext == ".ani") return InputKind::Animation;
    return InputKind::Unsupported;
}

std::optional<PassedOver> PassedOverUnopened(const std::string& path, InputKind kind)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return PassedOver::Folder;
    if (kind == InputKind::Unsupported) return PassedOver::NotAnInputName;
    return std::nullopt;
}

std::optional<std::uint32_t> ReadArchiveHeader(const InputFile& file)
{
    std::uint8_t header[kArchiveHeaderBytes] = {};
    file.ReadAt(0, header, sizeof header);
    if (!HasArchiveMagic(header)) return std::nullopt;
    return ArchiveEntryCount(header);
}

const std::uint8_t* ReadArchiveTable(const InputFile& file, ScratchBuffer& tableBuf, std::uint32_t count)
{
    return file.ReadBlock(tableBuf, kArchiveHeaderBytes, std::uint64_t{count} * kArchiveEntryBytes);
}

bool TablePastEnd(std::uint32_t count, std::uint64_t fileSize)
{
    return kArchiveHeaderBytes + std::uint64_t{count} * kArchiveEntryBytes > fileSize;
}

bool EntryPastEnd(const ArchiveEntry& stored, std::uint64_t fileSize)
{
    return std::uint64_t{stored.offset} + stored.size > fileSize;
}

ArchiveEntry EntryWithinFile(const std::uint8_t* record, std::uint64_t fileSize)
{
    ArchiveEntry entry = ParseArchiveEntry(record);
    entry.size = entry.offset >= fileSize
        ? 0
        : static_cast<std::uint32_t>(std::min<std::uint64_t>(entry.size, fileSize - entry.offset));
    return entry;
}

}  // namespace orv
