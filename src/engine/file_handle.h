#pragma once

#include <cstdint>
#include <string>

namespace orv {

// An open operating-system file with exact-length transfers. Opening for reading
// needs an existing file; opening for writing creates the file or cuts it to zero.
class FileHandle {
public:
    enum class Mode { Read = 1, Write = 2 };

    FileHandle() = default;
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Closes a handle that is already open first.
    bool Open(const std::string& path, Mode mode);
    // Transfer exactly n bytes at the current position; a short read leaves the rest
    // of the destination as it was.
    bool Read(void* destination, std::uint32_t n);
    bool Write(const void* source, std::uint32_t n);
    bool Seek(std::uint32_t offset);
    // The whole length: callers compare it with 32-bit offsets, so it is never cut.
    std::uint64_t Size() const;
    // False when the system reports an error on closing (data may be lost on write).
    bool Close();
    bool IsOpen() const { return fd_ >= 0; }

    // The open(2) descriptor Open would hold, for writers that need a C stream;
    // -1 on failure.
    static int OpenDescriptor(const std::string& path, Mode mode);

private:
    int fd_ = -1;
};

}  // namespace orv
