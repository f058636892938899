#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/base/scratch_buffer.h"
#include "engine/io/byte_source.h"
#include "engine/io/file_identity.h"

namespace orv {

// An input, read through one bounded reader: no read reaches past the length the input
// had when it was opened (the rest of the destination keeps its bytes, zero in a block
// obtained zero-filled), and a read that brings fewer bytes than the input then held,
// because a file shrank or failed, is the read FatalError naming the path. Copies read
// the same open file; reads are safe on several threads where the source allows it.
class InputFile {
public:
    // An existing regular file; false with errno telling why.
    bool Open(const std::string& path);
    // An open descriptor, taken over whether or not it is a regular file that can be
    // read; false with errno telling why. path names it in messages.
    bool Open(int fd, const std::string& path);
    // Bytes from anywhere; path names them in messages.
    void Open(std::shared_ptr<ByteSource> source, const std::string& path);

    const std::string& path() const { return path_; }
    std::uint64_t size() const { return size_; }
    // The file read, for an input that is one.
    std::optional<FileIdentity> identity() const { return source_ ? source_->identity() : std::nullopt; }

    // n bytes at offset into destination.
    void ReadAt(std::uint64_t offset, void* destination, std::uint32_t n) const;
    // A zero-filled block of buffer holding the n bytes at offset; the memory FatalError
    // when n is more than a buffer may hold or cannot be obtained.
    std::uint8_t* ReadBlock(ScratchBuffer& buffer, std::uint64_t offset, std::uint64_t n) const;

private:
    std::shared_ptr<ByteSource> source_;
    std::string path_;
    std::uint64_t size_ = 0;
};

}  // namespace orv
