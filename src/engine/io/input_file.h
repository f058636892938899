#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "engine/io/file_handle.h"
#include "engine/base/scratch_buffer.h"

namespace orv {

// An input file, read through one bounded reader: no read reaches past the length the
// file had when it was opened (the rest of the destination keeps its bytes, zero in a
// block obtained zero-filled), and a read that brings fewer bytes than the file then
// held, because the file shrank or failed, is the read FatalError naming the path.
class InputFile {
public:
    bool Open(const std::string& path);

    const std::string& path() const { return path_; }
    std::uint64_t size() const { return size_; }
    // Whether the file with this device and inode number is this input, by any name.
    bool Is(dev_t device, ino_t inode) const { return device == device_ && inode == inode_; }

    // n bytes at offset into destination.
    void ReadAt(std::uint64_t offset, void* destination, std::uint32_t n);
    // A zero-filled block of buffer holding the n bytes at offset; the memory FatalError
    // when n is more than a buffer may hold or cannot be obtained.
    std::uint8_t* ReadBlock(ScratchBuffer& buffer, std::uint64_t offset, std::uint64_t n);

private:
    FileHandle file_;
    std::string path_;
    std::uint64_t size_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace orv
