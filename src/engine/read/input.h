#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/scratch_buffer.h"
#include "engine/io/input_file.h"
#include "engine/read/archive.h"

namespace orv {

// One entry of an input: for a pack archive a record of its table, for an animation file
// the one record conversion builds from the file's name.
struct InputEntry {
    std::uint32_t index = 0;
    ArchiveEntry stored;  // as the table gives it
    std::uint32_t size = 0;  // the bytes the file holds from the entry's offset on, at most stored.size
    std::string shown;  // the name as UTF-8, "%XX" for bytes that do not convert
    EntryKind kind = EntryKind::Other;
    // Whether the file ends before this record of the table or before the bytes it
    // claims (for an animation file, before its frame table or a frame it lists): what
    // is missing reads as zeros.
    bool pastEnd = false;

    // The record as conversion takes it: its size cut to what the file holds.
    ArchiveEntry Record() const;
};

// How much reading one input may take: an entry read whole, one picture or frame drawn,
// and the frames of one animation held at once. Beyond them is the memory FatalError.
// Conversion reads with the defaults; a front end that shows entries may ask for less.
struct ReadLimits {
    std::uint64_t entryBytes = kMaxScratchBytes;
    std::uint64_t pictureBytes = kMaxScratchBytes;
    std::uint64_t heldBytes = kMaxScratchBytes;
};

// The record conversion builds for an animation file: its lower-cased name (srcName)
// as CP932 of at most 15 bytes, and the file's size.
ArchiveEntry AnimationFileEntry(std::string_view srcName, std::uint64_t fileSize);

// One opened input, a pack archive or an animation file, from a path, a descriptor or a
// source of bytes: what it is, its entries and whether it was cut short, read once when
// it is opened, and the bounded reader of its bytes. Opened, it does not change: readers
// on several threads may share it, each reading the same open file, never the path again.
class Input {
public:
    enum class Opened { Yes, NotAnInput, CannotOpen };
    // By the lower-cased name's extension: ".dat" must start with "pack", ".ani" is
    // one animation entry; anything else, and a folder, is NotAnInput.
    Opened Open(const std::string& path);
    // The same, the file taken for this kind whatever its name.
    Opened Open(const std::string& path, InputKind kind);
    // An open descriptor, taken over; path names the input (its file name is the
    // input's name, as for a path).
    Opened Open(int fd, const std::string& path, InputKind kind);
    // Bytes from anywhere (memory, a callback); path names them as for a file.
    Opened Open(std::shared_ptr<ByteSource> source, const std::string& path, InputKind kind);

    // After NotAnInput: why the input is passed over. After CannotOpen: the system's
    // error number.
    PassedOver passedOver() const { return passedOver_; }
    int openError() const { return openError_; }

    InputKind kind() const { return kind_; }
    const std::string& path() const { return file_.path(); }
    // The lower-cased file name: the output folder's name and the animation file's entry.
    const std::string& name() const { return name_; }
    const InputFile& file() const { return file_; }
    const std::vector<InputEntry>& entries() const { return entries_; }
    // Whether the archive's header, its table or an entry reaches past the end of the file.
    bool pastEnd() const { return pastEnd_; }
    // Whether the file ends before the header and the whole table do.
    bool tablePastEnd() const { return tablePastEnd_; }

    const ReadLimits& limits() const { return limits_; }
    void SetLimits(const ReadLimits& limits) { limits_ = limits; }

    // Where the entry's bytes lie in the file: an animation file is one entry of all of it.
    std::uint64_t OffsetOf(const InputEntry& entry) const;
    std::uint64_t SizeOf(const InputEntry& entry) const;

private:
    void Reset(const std::string& path, InputKind kind);
    // The file is open: its header, table and entries.
    Opened ReadOpened();
    Opened Refuse(PassedOver why);
    Opened Fail(int error);
    void ReadAnimationFile();
    void ReadArchive(std::uint32_t count);

    InputFile file_;
    std::string name_;
    InputKind kind_ = InputKind::Unsupported;
    PassedOver passedOver_ = PassedOver::NotAnInputName;
    int openError_ = 0;
    std::vector<InputEntry> entries_;
    bool pastEnd_ = false;
    bool tablePastEnd_ = false;
    ReadLimits limits_;
};

// The input at path, by its name, opened; null where it is no input or cannot be opened.
std::shared_ptr<const Input> OpenInput(const std::string& path);

}  // namespace orv
