#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "engine/io/file_handle.h"
#include "engine/io/file_identity.h"

namespace orv {

// The bytes of an input, wherever they are: an open file, a block of memory, or whatever
// a callback reads (a browser's File, a Python file object). Its size is fixed when it is
// made; every read asks for bytes within it. Sources are read from several threads at
// once where their readers are (a file and memory allow it).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Exactly n bytes at offset; false when they cannot all be read, with errno set where
    // the system gave a reason (0 where the source merely ended early).
    virtual bool ReadAt(std::uint64_t offset, void* destination, std::uint32_t n) = 0;
    // The file it reads, for sources that read one.
    virtual std::optional<FileIdentity> identity() const { return std::nullopt; }
};

// An open regular file, its descriptor taken over; its size as it was when this was made.
std::shared_ptr<ByteSource> FileSource(int fd);

// size bytes at data, kept alive by owner for as long as the source is.
std::shared_ptr<ByteSource> MemorySource(std::shared_ptr<const void> owner, const std::uint8_t* data, std::size_t size);

// Reads the callback makes: read(offset, destination, n) fills exactly n bytes or returns false.
using ReadCallback = std::function<bool(std::uint64_t, void*, std::uint32_t)>;
std::shared_ptr<ByteSource> CallbackSource(std::uint64_t size, ReadCallback read);

}  // namespace orv
