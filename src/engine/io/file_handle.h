#pragma once

#include <cstdint>
#include <string>

namespace orv {

// An open operating-system file with exact-length transfers: an existing regular file
// opened for reading, or a descriptor handed over for writing (output files are
// created by OutputFile, which decides where and how).
class FileHandle {
public:
    FileHandle() = default;
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Opens an existing regular file for reading; closes a handle that is already open first.
    bool Open(const std::string& path);
    // Takes over an open descriptor; closes a handle that is already open first.
    void Adopt(int fd);
    // Gives the descriptor up without closing it, leaving the handle closed.
    int Release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Exactly n bytes at offset; a short read leaves the rest of the destination as it was.
    bool ReadAt(std::uint64_t offset, void* destination, std::uint32_t n);
    // Exactly n bytes at the current position.
    bool Write(const void* source, std::uint32_t n);
    // The whole length: callers compare it with 32-bit offsets, so it is never cut.
    std::uint64_t Size() const;
    // False when the system reports an error on closing (data may be lost on write).
    bool Close();
    bool IsOpen() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace orv
