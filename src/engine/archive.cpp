#include "archive.h"

#include <algorithm>
#include <cstring>

#include "bytes.h"
#include "converter.h"
#include "fatal_error.h"
#include "text.h"

namespace orv {

std::string_view ArchiveEntry::Name() const
{
    const void* nul = std::memchr(name, '\0', sizeof name);
    const auto length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - name)
                            : sizeof name;
    return {name, length};
}

ArchiveEntry ParseArchiveEntry(const std::uint8_t* record)
{
    ArchiveEntry entry;
    std::memcpy(entry.name, record, kEntryNameBytes);
    entry.offset = ReadLe32(record + 16);
    entry.size = ReadLe32(record + 20);
    return entry;
}

EntryKind KindOf(const ArchiveEntry& entry)
{
    const std::string_view name = entry.Name();
    if (name.size() < 3) return EntryKind::Other;
    const std::string_view suffix = name.substr(name.size() - 3);
    if (suffix == "pcm") return EntryKind::Sound;
    if (suffix == "ani") return EntryKind::Animation;
    if (suffix == ".cg") return EntryKind::Image;
    return EntryKind::Other;
}

InputKind InputKindOf(std::string_view srcName)
{
    const std::string_view ext = ExtensionOf(srcName);
    if (ext == ".dat") return InputKind::Archive;
    if (ext == ".ani") return InputKind::Animation;
    return InputKind::Unsupported;
}

std::string CannotOpenInputText(std::string_view srcName)
{
    return "ファイルを開けません！\n" + std::string(srcName);
}

bool HasArchiveMagic(const std::uint8_t* header)
{
    return std::memcmp(header, "pack", 4) == 0;
}

std::uint32_t ArchiveEntryCount(const std::uint8_t* header) { return ReadLe16(header + 4); }

// ---- Converting one input file -------------------------------------------------

ConvertResult Converter::ConvertInputFile()
{
    srcName = AsciiLower(FileNamePart(srcPath));
    const InputKind inputKind = InputKindOf(srcName);
    if (inputKind == InputKind::Unsupported) return ConvertResult::Skipped;

    FileHandle file;
    if (!file.Open(srcPath, FileHandle::Mode::Read)) {
        view_.ShowModalMessage(CannotOpenInputText(srcName));
        return ConvertResult::Skipped;
    }
    DropCanvas();

    if (inputKind == InputKind::Animation) {
        MakeOutputFolder();
        const std::uint64_t fileSize = file.Size();
        if (fileSize > kMaxScratchBytes) throw FatalError::OutOfMemory();
        const auto n = static_cast<std::uint32_t>(fileSize);
        std::uint8_t* data = Obtain(dataBuf, n, true);
        file.Read(data, n);
        ArchiveEntry entry;
        const std::string name = Utf8ToCp932(srcName, kEntryNameBytes - 1);
        std::memcpy(entry.name, name.data(), name.size());
        entry.size = n;
        ConvertAnimation(data, entry);
        return ConvertResult::Finished;
    }

    std::uint8_t header[kArchiveHeaderBytes] = {};
    file.Read(header, sizeof header);
    if (!HasArchiveMagic(header)) return ConvertResult::Skipped;

    const std::uint32_t count = ArchiveEntryCount(header);
    const auto shownCount = static_cast<std::int32_t>(count);
    view_.SetEntryProgressMax(shownCount);
    view_.SetEntryCounterText(FormatCounter(0, shownCount));
    view_.RepaintEntryCounter();

    std::uint8_t* table = Obtain(tableBuf, count * kArchiveEntryBytes, true);
    file.Read(table, count * kArchiveEntryBytes);
    MakeOutputFolder();

    const std::uint64_t fileSize = file.Size();
    for (std::uint32_t i = 0; i < count; ++i) {
        entryIndex = static_cast<std::int32_t>(i);
        view_.PumpEvents();
        if (cancelRequested) return ConvertResult::Cancelled;

        ArchiveEntry entry = ParseArchiveEntry(table + i * kArchiveEntryBytes);
        // Only the bytes the file holds are read, so a tiny archive whose table
        // claims gigabytes cannot make the program allocate or write them.
        entry.size = entry.offset >= fileSize
            ? 0
            : static_cast<std::uint32_t>(std::min<std::uint64_t>(entry.size, fileSize - entry.offset));
        ConvertArchiveEntry(file, entry);

        view_.SetEntryProgressPosition(view_.GetEntryProgressPosition() + 1);
        view_.SetEntryCounterText(
            FormatCounter(view_.GetEntryProgressPosition(), view_.GetEntryProgressMax()));
    }
    view_.SetEntryProgressPosition(shownCount);
    return ConvertResult::Finished;
}

void Converter::ConvertArchiveEntry(FileHandle& archive, ArchiveEntry& entry)
{
    const EntryKind kind = KindOf(entry);
    archive.Seek(entry.offset);
    if (kind == EntryKind::Sound && entry.size > kSoundStreamThreshold) {
        WriteWaveStreamed(archive, entry);
        return;
    }
    std::uint8_t* data = Obtain(dataBuf, entry.size, true);
    archive.Read(data, entry.size);
    switch (kind) {
    case EntryKind::Sound:
        WriteWaveFromMemory(data, entry);
        break;
    case EntryKind::Animation:
        if (aniRaw)
            DumpEntry(data, entry, -1);
        else
            ConvertAnimation(data, entry);
        break;
    case EntryKind::Image:
        ConvertImageEntry(data, entry, false, false, -1);
        break;
    case EntryKind::Other:
        DumpEntry(data, entry, -1);
        break;
    }
}

}  // namespace orv
