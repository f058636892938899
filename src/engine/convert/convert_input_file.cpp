#include "engine/convert/converter.h"

#include "engine/base/text.h"
#include "engine/read/input.h"

namespace orv {

ConvertResult Converter::ConvertInputFile()
{
    srcName = AsciiLower(FileNamePart(srcPath));
    inputPastEnd = false;
    entryIndex = 0;
    Input input;
    switch (input.Open(srcPath)) {
    case Input::Opened::NotAnInput: view_.ShowPassedOver(srcPath, input.passedOver()); return ConvertResult::Skipped;
    case Input::Opened::CannotOpen:
        view_.ShowInputNotOpened(srcName, srcPath, input.openError());
        return ConvertResult::NotOpened;
    case Input::Opened::Yes: break;
    }
    return ConvertInput(input);
}

ConvertResult Converter::ConvertInput(const Input& input)
{
    srcPath = input.path();
    srcName = input.name();
    inputPastEnd = false;
    entryIndex = 0;
    claimed_.clear();
    if (input.kind() == InputKind::Unsupported) return ConvertResult::Skipped;
    // The input is never written over, and the folder is let go with it, once nothing
    // more is written into it.
    input_ = &input;
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
        const ConvertResult result = ConvertOpenInput(input);
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

ConvertResult Converter::ConvertOpenInput(const Input& input)
{
    const InputFile& file = input.file();
    if (input.kind() == InputKind::Animation) {
        inputPastEnd = input.pastEnd();
        if (!Chosen(0)) return ConvertResult::Finished;
        MakeOutputFolder();
        std::uint8_t* data = file.ReadBlock(dataBuf, 0, file.size());
        ArchiveEntry entry = input.entries().front().Record();
        ConvertAnimation(data, entry);
        return ConvertResult::Finished;
    }

    const auto shownCount = static_cast<std::int32_t>(input.entries().size());
    view_.SetEntryProgressMax(shownCount);
    view_.SetEntryCounterText(FormatCounter(0, shownCount));
    view_.RepaintEntryCounter();
    inputPastEnd = input.tablePastEnd();
    MakeOutputFolder();

    entriesDone_ = 0;
    // Entries after the last chosen one draw nothing that is written.
    std::size_t end = input.entries().size();
    if (!chosenEntries.empty()) {
        while (end > 0 && !Chosen(static_cast<std::uint32_t>(end - 1))) --end;
    }
    for (std::size_t i = 0; i < end; ++i) {
        const InputEntry& stored = input.entries()[i];
        entryIndex = static_cast<std::int32_t>(stored.index);
        if (StopRequested()) return ConvertResult::Cancelled;

        inputPastEnd = inputPastEnd || stored.pastEnd;
        ArchiveEntry entry = stored.Record();
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

void Converter::DrawUnchosen(const InputFile& archive, ArchiveEntry& entry, EntryKind kind)
{
    if (kind != EntryKind::Picture && (kind != EntryKind::Animation || options.aniRaw)) return;
    const std::uint8_t* data = archive.ReadBlock(dataBuf, entry.offset, entry.size);
    drawOnly_ = true;
    struct Written {
        bool& drawOnly;
        ~Written() { drawOnly = false; }
    } written{drawOnly_};
    if (kind == EntryKind::Picture)
        ConvertImageEntry(data, entry, false, true, -1);
    else
        ConvertAnimation(data, entry);
}

void Converter::ConvertArchiveEntry(const InputFile& archive, ArchiveEntry& entry)
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
    case EntryKind::Picture: ConvertImageEntry(data, entry, false, false, -1); break;
    case EntryKind::Other: DumpEntry(data, entry, -1); break;
    }
}

}  // namespace orv
