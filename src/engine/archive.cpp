#include "archive.h"

#include <algorithm>
#include <cstring>

#include "bytes.h"
#include "converter.h"
#include "fatal_error.h"
#include "input_file.h"
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
    return "ファイルを開けません！\n" + EscapeControlBytes(srcName);
}

bool HasArchiveMagic(const std::uint8_t* header)
{
    return std::memcmp(header, "pack", 4) == 0;
}

std::uint32_t ArchiveEntryCount(const std::uint8_t* header) { return ReadLe16(header + 4); }

std::optional<std::uint32_t> ReadArchiveHeader(InputFile& file)
{
    std::uint8_t header[kArchiveHeaderBytes] = {};
    file.ReadAt(0, header, sizeof header);
    if (!HasArchiveMagic(header)) return std::nullopt;
    return ArchiveEntryCount(header);
}

const std::uint8_t* ReadArchiveTable(InputFile& file, ScratchBuffer& tableBuf, std::uint32_t count)
{
    return file.ReadBlock(tableBuf, kArchiveHeaderBytes, std::uint64_t{count} * kArchiveEntryBytes);
}

ArchiveEntry EntryWithinFile(const std::uint8_t* record, std::uint64_t fileSize)
{
    ArchiveEntry entry = ParseArchiveEntry(record);
    entry.size = entry.offset >= fileSize
        ? 0
        : static_cast<std::uint32_t>(std::min<std::uint64_t>(entry.size, fileSize - entry.offset));
    return entry;
}

// ---- Converting one input file -------------------------------------------------

ConvertResult Converter::ConvertInputFile()
{
    srcName = AsciiLower(FileNamePart(srcPath));
    const InputKind inputKind = InputKindOf(srcName);
    if (inputKind == InputKind::Unsupported) return ConvertResult::Skipped;

    InputFile file;
    if (!file.Open(srcPath)) {
        view_.ShowModalMessage(CannotOpenInputText(srcName));
        return ConvertResult::Skipped;
    }
    // The input is never written over, and the folder is let go with it.
    input_ = &file;
    struct Release {
        Converter& converter;
        ~Release()
        {
            converter.input_ = nullptr;
            converter.outFolder_.Close();
        }
    } release{*this};
    DropCanvas();
    return ConvertOpenInput(file, inputKind);
}

ConvertResult Converter::ConvertOpenInput(InputFile& file, InputKind kind)
{
    if (kind == InputKind::Animation) {
        MakeOutputFolder();
        std::uint8_t* data = file.ReadBlock(dataBuf, 0, file.size());
        ArchiveEntry entry;
        const std::string name = Cp932WithoutSeparators(Utf8ToCp932(srcName, kEntryNameBytes - 1));
        std::memcpy(entry.name, name.data(), name.size());
        entry.size = static_cast<std::uint32_t>(file.size());
        ConvertAnimation(data, entry);
        return ConvertResult::Finished;
    }

    const std::optional<std::uint32_t> count = ReadArchiveHeader(file);
    if (!count) return ConvertResult::Skipped;
    const auto shownCount = static_cast<std::int32_t>(*count);
    view_.SetEntryProgressMax(shownCount);
    view_.SetEntryCounterText(FormatCounter(0, shownCount));
    view_.RepaintEntryCounter();

    const std::uint8_t* table = ReadArchiveTable(file, tableBuf, *count);
    MakeOutputFolder();

    for (std::uint32_t i = 0; i < *count; ++i) {
        entryIndex = static_cast<std::int32_t>(i);
        view_.PumpEvents();
        if (cancelRequested) return ConvertResult::Cancelled;

        ArchiveEntry entry = EntryWithinFile(table + i * kArchiveEntryBytes, file.size());
        ConvertArchiveEntry(file, entry);

        view_.SetEntryProgressPosition(view_.GetEntryProgressPosition() + 1);
        view_.SetEntryCounterText(
            FormatCounter(view_.GetEntryProgressPosition(), view_.GetEntryProgressMax()));
    }
    view_.SetEntryProgressPosition(shownCount);
    return ConvertResult::Finished;
}

void Converter::ConvertArchiveEntry(InputFile& archive, ArchiveEntry& entry)
{
    const EntryKind kind = KindOf(entry);
    if (kind == EntryKind::Sound && entry.size > kSoundStreamThreshold) {
        WriteWaveStreamed(archive, entry);
        return;
    }
    const std::uint8_t* data = archive.ReadBlock(dataBuf, entry.offset, entry.size);
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
