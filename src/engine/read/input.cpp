#include "engine/read/input.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

#include "engine/base/text.h"
#include "engine/format/frame_table.h"
#include "engine/format/little_endian.h"

namespace orv {

namespace {

// Whether an animation file ends before its frame table, or before a frame the table
// lists: the frames there are missing. A cut within the last frame leaves no trace.
bool AnimationPastEnd(const InputFile& file)
{
    const std::uint64_t size = file.size();
    std::uint8_t first[4] = {};
    if (size < sizeof first) return true;
    file.ReadAt(0, first, sizeof first);
    const std::uint32_t tableBytes = FrameTableBytes(first);
    if (tableBytes > size) return true;
    // The table is read in pieces: a claim of a large table costs no memory.
    std::array<std::uint8_t, std::size_t{64} * 1024> piece{};
    for (std::uint32_t at = 0; at < tableBytes; at += piece.size()) {
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(piece.size(), tableBytes - at));
        file.ReadAt(at, piece.data(), n);
        for (std::uint32_t slot = 0; slot < n; slot += 4) {
            if (ReadLe32(piece.data() + slot) >= size) return true;
        }
    }
    return false;
}

}  // namespace

ArchiveEntry AnimationFileEntry(std::string_view srcName, std::uint64_t fileSize)
{
    ArchiveEntry entry;
    const std::string name = Cp932WithoutSeparators(Utf8ToCp932(srcName, kEntryNameBytes - 1));
    std::copy(name.begin(), name.end(), entry.name);
    entry.size = static_cast<std::uint32_t>(fileSize);
    return entry;
}

ArchiveEntry InputEntry::Record() const
{
    ArchiveEntry record = stored;
    record.size = size;
    return record;
}

Input::Opened Input::Open(const std::string& path)
{
    return Open(path, InputKindOf(AsciiLower(FileNamePart(path))));
}

Input::Opened Input::Open(const std::string& path, InputKind kind)
{
    Reset(path, kind);
    if (const std::optional<PassedOver> why = PassedOverUnopened(path, kind)) return Refuse(*why);
    if (!file_.Open(path)) return Fail(errno);
    return ReadOpened();
}

Input::Opened Input::Open(int fd, const std::string& path, InputKind kind)
{
    Reset(path, kind);
    if (kind == InputKind::Unsupported) {
        ::close(fd);
        return Refuse(PassedOver::NotAnInputName);
    }
    if (!file_.Open(fd, path)) return errno == EISDIR ? Refuse(PassedOver::Folder) : Fail(errno);
    return ReadOpened();
}

Input::Opened Input::Open(std::shared_ptr<ByteSource> source, const std::string& path, InputKind kind)
{
    Reset(path, kind);
    if (kind == InputKind::Unsupported) return Refuse(PassedOver::NotAnInputName);
    file_.Open(std::move(source), path);
    return ReadOpened();
}

void Input::Reset(const std::string& path, InputKind kind)
{
    name_ = AsciiLower(FileNamePart(path));
    kind_ = kind;
    openError_ = 0;
    entries_.clear();
    pastEnd_ = false;
    tablePastEnd_ = false;
}

Input::Opened Input::Refuse(PassedOver why)
{
    kind_ = InputKind::Unsupported;
    passedOver_ = why;
    return Opened::NotAnInput;
}

Input::Opened Input::Fail(int error)
{
    kind_ = InputKind::Unsupported;
    openError_ = error;
    return Opened::CannotOpen;
}

Input::Opened Input::ReadOpened()
{
    if (kind_ == InputKind::Animation) {
        ReadAnimationFile();
        return Opened::Yes;
    }
    const std::optional<std::uint32_t> count = ReadArchiveHeader(file_);
    if (!count) return Refuse(PassedOver::NotAPackArchive);
    ReadArchive(*count);
    return Opened::Yes;
}

void Input::ReadAnimationFile()
{
    const ArchiveEntry record = AnimationFileEntry(name_, file_.size());
    pastEnd_ = AnimationPastEnd(file_);
    entries_.push_back({0, record, record.size, Cp932ToUtf8(record.Name()), EntryKind::Animation, pastEnd_});
}

void Input::ReadArchive(std::uint32_t count)
{
    ScratchBuffer tableBuf;
    const std::uint8_t* table = ReadArchiveTable(file_, tableBuf, count);
    const std::uint64_t fileSize = file_.size();
    entries_.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* record = table + std::size_t{i} * kArchiveEntryBytes;
        const ArchiveEntry stored = ParseArchiveEntry(record);
        entries_.push_back({i, stored, EntryWithinFile(record, fileSize).size, Cp932ToUtf8(stored.Name()),
                            KindOf(stored), TablePastEnd(i + 1, fileSize) || EntryPastEnd(stored, fileSize)});
        pastEnd_ = pastEnd_ || entries_.back().pastEnd;
    }
    tablePastEnd_ = TablePastEnd(count, fileSize);
    pastEnd_ = pastEnd_ || tablePastEnd_;
}

std::shared_ptr<const Input> OpenInput(const std::string& path)
{
    auto input = std::make_shared<Input>();
    if (input->Open(path) != Input::Opened::Yes) return nullptr;
    return input;
}

std::uint64_t Input::OffsetOf(const InputEntry& entry) const
{
    return kind_ == InputKind::Animation ? 0 : entry.stored.offset;
}

std::uint64_t Input::SizeOf(const InputEntry& entry) const
{
    return kind_ == InputKind::Animation ? file_.size() : entry.size;
}

}  // namespace orv
