#include "cli/listing.h"

#include <cinttypes>

#include "engine/animation.h"
#include "engine/archive.h"
#include "engine/fatal_error.h"
#include "engine/input_file.h"
#include "engine/scratch_buffer.h"
#include "engine/text.h"

namespace orv::cli {

namespace {

const char* KindWord(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Sound: return "sound";
    case EntryKind::Animation: return "animation";
    case EntryKind::Image: return "image";
    case EntryKind::Other: break;
    }
    return "other";
}

void ListArchive(InputFile& file, std::FILE* out)
{
    const std::optional<std::uint32_t> count = ReadArchiveHeader(file);
    if (!count) return;
    ScratchBuffer tableBuf;
    const std::uint8_t* table = ReadArchiveTable(file, tableBuf, *count);
    for (std::uint32_t i = 0; i < *count; ++i) {
        const ArchiveEntry entry = ParseArchiveEntry(table + std::size_t{i} * kArchiveEntryBytes);
        std::fprintf(out, "%" PRIu32 "\t%s\t%" PRIu32 "\t%" PRIu32 "\t%s\n", i, Cp932ToUtf8(entry.Name()).c_str(),
                     entry.offset, entry.size, KindWord(KindOf(entry)));
    }
}

void ListAnimation(InputFile& file, std::FILE* out)
{
    ScratchBuffer tableBuf;
    const FrameTable table = ReadFrameTable(file, tableBuf);
    const std::uint32_t frames = AnimationFrameCount(table.data, table.size);
    for (std::uint32_t k = 1; k <= frames; ++k)
        std::fprintf(out, "%" PRIu32 "\t%" PRIu32 "\n", k, AnimationFrameOffset(table.data, k));
}

}  // namespace

ListResult ListInputFile(const std::string& path, std::FILE* out, std::FILE* messages)
{
    const std::string name = AsciiLower(FileNamePart(path));
    const InputKind kind = InputKindOf(name);
    if (kind == InputKind::Unsupported) return ListResult::Listed;
    InputFile file;
    if (!file.Open(path)) {
        std::fprintf(messages, "%s\n", CannotOpenInputText(name).c_str());
        return ListResult::NotOpened;
    }
    if (kind == InputKind::Archive)
        ListArchive(file, out);
    else
        ListAnimation(file, out);
    return ListResult::Listed;
}

}  // namespace orv::cli
