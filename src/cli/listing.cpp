#include "listing.h"

#include <algorithm>
#include <cinttypes>
#include <vector>

#include "animation.h"
#include "archive.h"
#include "bytes.h"
#include "file_handle.h"
#include "text.h"

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

void ListArchive(FileHandle& file, std::FILE* out)
{
    std::uint8_t header[kArchiveHeaderBytes] = {};
    file.Read(header, sizeof header);
    if (!HasArchiveMagic(header)) return;
    const std::uint32_t count = ArchiveEntryCount(header);
    std::vector<std::uint8_t> table(std::size_t{count} * kArchiveEntryBytes);
    file.Read(table.data(), static_cast<std::uint32_t>(table.size()));
    for (std::uint32_t i = 0; i < count; ++i) {
        const ArchiveEntry entry = ParseArchiveEntry(table.data() + i * kArchiveEntryBytes);
        std::fprintf(out, "%" PRIu32 "\t%s\t%" PRIu32 "\t%" PRIu32 "\t%s\n", i,
                     Cp932ToUtf8(entry.Name()).c_str(), entry.offset, entry.size,
                     KindWord(KindOf(entry)));
    }
}

void ListAnimation(FileHandle& file, std::FILE* out)
{
    // Only the frame table is read: it ends where the first frame begins, and
    // never past the end of the file.
    std::uint8_t first[4] = {};
    file.Read(first, sizeof first);
    const std::uint64_t size = file.Size();
    const std::uint32_t tableBytes =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(ReadLe32(first) / 4 * 4, size));
    std::vector<std::uint8_t> table(tableBytes);
    file.Seek(0);
    file.Read(table.data(), tableBytes);
    const std::uint32_t frames = AnimationFrameCount(table.data(), tableBytes);
    for (std::uint32_t k = 1; k <= frames; ++k)
        std::fprintf(out, "%" PRIu32 "\t%" PRIu32 "\n", k, AnimationFrameOffset(table.data(), k));
}

}  // namespace

void ListInputFile(const std::string& path, std::FILE* out, std::FILE* messages)
{
    const std::string name = AsciiLower(FileNamePart(path));
    const InputKind kind = InputKindOf(name);
    if (kind == InputKind::Unsupported) return;
    FileHandle file;
    if (!file.Open(path, FileHandle::Mode::Read)) {
        std::fprintf(messages, "%s\n", CannotOpenInputText(name).c_str());
        return;
    }
    if (kind == InputKind::Archive)
        ListArchive(file, out);
    else
        ListAnimation(file, out);
}

}  // namespace orv::cli
