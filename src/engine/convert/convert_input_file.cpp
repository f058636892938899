#include "engine/read/archive.h"
#include "engine/convert/converter.h"

#include <cerrno>

#include "engine/io/input_file.h"
#include "engine/read/reader.h"
#include "engine/base/text.h"

namespace orv {

ConvertResult Converter::ConvertInputFile()
{
    srcName = AsciiLower(FileNamePart(srcPath));
    inputPastEnd = false;
    entryIndex = 0;
    claimed_.clear();
    const InputKind inputKind = InputKindOf(srcName);
    if (const std::optional<PassedOver> why = PassedOverUnopened(srcPath, inputKind)) {
        view_.ShowPassedOver(srcPath, *why);
        return ConvertResult::Skipped;
    }

    InputFile file;
    if (!file.Open(srcPath)) {
        view_.ShowInputNotOpened(srcName, srcPath, errno);
        return ConvertResult::NotOpened;
    }
    // The input is never written over, and the folder is let go with it, once nothing
    // more is written into it.
    input_ = &file;
    struct Release {
        Converter& converter;
        ~Release()
        {
            converter.outputs_.Discard();
            converter.input_ = nullptr;
            converter.outFolder_.Close();
        }
    } release{*this};
    DropCanvas();
    outputs_.SetRunner(pictureWriters);
    try {
        const ConvertResult result = ConvertOpenInput(file, inputKind);
        outputs_.Flush();
        return result;
    } catch (...) {
        // What the entries before the failure wrote is put in place first, as when each
        // file is put in place as soon as it is written; a failure among them is the
        // one raised.
        outputs_.Flush();
        throw;
    }
}

ConvertResult Converter::ConvertOpenInput(InputFile& file, InputKind kind)
{
    if (kind == InputKind::Animation) {
        if (!Chosen(0)) return ConvertResult::Finished;
        MakeOutputFolder();
        std::uint8_t* data = file.ReadBlock(dataBuf, 0, file.size());
        ArchiveEntry entry = AnimationFileEntry(srcName, file.size());
        ConvertAnimation(data, entry);
        return ConvertResult::Finished;
    }

    const std::optional<std::uint32_t> count = ReadArchiveHeader(file);
    if (!count) {
        view_.ShowPassedOver(srcPath, PassedOver::NotAPackArchive);
        return ConvertResult::Skipped;
    }
    const auto shownCount = static_cast<std::int32_t>(*count);
    view_.SetEntryProgressMax(shownCount);
    view_.SetEntryCounterText(FormatCounter(0, shownCount));
    view_.RepaintEntryCounter();

    const std::uint8_t* table = ReadArchiveTable(file, tableBuf, *count);
    inputPastEnd = TablePastEnd(*count, file.size());
    MakeOutputFolder();

    entriesDone_ = 0;
    for (std::uint32_t i = 0; i < *count; ++i) {
        entryIndex = static_cast<std::int32_t>(i);
        if (StopRequested()) return ConvertResult::Cancelled;

        const std::uint8_t* record = table + std::size_t{i} * kArchiveEntryBytes;
        inputPastEnd = inputPastEnd || EntryPastEnd(ParseArchiveEntry(record), file.size());
        ArchiveEntry entry = EntryWithinFile(record, file.size());
        ConvertArchiveEntry(file, entry);

        // An entry counts once its files are in place.
        outputs_.AddMark([this, shownCount] {
            ++entriesDone_;
            view_.SetEntryProgressPosition(entriesDone_);
            view_.SetEntryCounterText(FormatCounter(entriesDone_, shownCount));
        });
    }
    outputs_.Flush();
    view_.SetEntryProgressPosition(shownCount);
    return ConvertResult::Finished;
}

bool Converter::Chosen(std::uint32_t index) const
{
    return chosenEntries.empty() || (index < chosenEntries.size() && chosenEntries[index]);
}

void Converter::DrawUnchosen(InputFile& archive, ArchiveEntry& entry, EntryKind kind)
{
    if (kind != EntryKind::Image && (kind != EntryKind::Animation || options.aniRaw)) return;
    const std::uint8_t* data = archive.ReadBlock(dataBuf, entry.offset, entry.size);
    drawOnly_ = true;
    struct Written {
        bool& drawOnly;
        ~Written() { drawOnly = false; }
    } written{drawOnly_};
    if (kind == EntryKind::Image)
        ConvertImageEntry(data, entry, false, true, -1);
    else
        ConvertAnimation(data, entry);
}

void Converter::ConvertArchiveEntry(InputFile& archive, ArchiveEntry& entry)
{
    const EntryKind kind = KindOf(entry);
    if (!Chosen(static_cast<std::uint32_t>(entryIndex))) {
        DrawUnchosen(archive, entry, kind);
        return;
    }
    if (kind == EntryKind::Sound && entry.size > kSoundStreamThreshold) {
        WriteWaveStreamed(archive, entry);
        return;
    }
    const std::uint8_t* data = archive.ReadBlock(dataBuf, entry.offset, entry.size);
    switch (kind) {
    case EntryKind::Sound: WriteWaveFromMemory(data, entry); break;
    case EntryKind::Animation:
        if (options.aniRaw)
            DumpEntry(data, entry, -1);
        else
            ConvertAnimation(data, entry);
        break;
    case EntryKind::Image: ConvertImageEntry(data, entry, false, false, -1); break;
    case EntryKind::Other: DumpEntry(data, entry, -1); break;
    }
}

}  // namespace orv
