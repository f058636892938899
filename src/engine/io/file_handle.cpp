#include "engine/io/file_handle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

// Repeats a transfer until n bytes have moved; false at end of file or error.
template <typename Byte, typename Transfer> bool TransferExactly(Byte* bytes, std::uint32_t n, Transfer transfer)
{
    std::uint32_t done = 0;
    while (done < n) {
        const ssize_t moved = transfer(bytes + done, n - done, done);
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) return false;
        done += static_cast<std::uint32_t>(moved);
    }
    return true;
}

}  // namespace

FileHandle::~FileHandle()
{
    Close();
}

bool FileHandle::Open(const std::string& path)
{
    Close();
    // O_NONBLOCK keeps a FIFO from blocking the open; anything but a regular file
    // is then refused.
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    struct stat st { };
    const bool examined = ::fstat(fd, &st) == 0;
    if (examined && S_ISREG(st.st_mode) && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        fd_ = fd;
        return true;
    }
    // errno tells why: a folder is EISDIR, anything else that is no regular file 0.
    int error = errno;
    if (examined && !S_ISREG(st.st_mode)) error = S_ISDIR(st.st_mode) ? EISDIR : 0;
    ::close(fd);
    errno = error;
    return false;
}

void FileHandle::Adopt(int fd)
{
    Close();
    fd_ = fd;
}

bool FileHandle::Write(const void* source, std::uint32_t n)
{
    return TransferExactly(
        static_cast<const char*>(source), n,
        [this](const char* at, std::uint32_t left, std::uint32_t) { return ::write(fd_, at, left); });
}

bool FileHandle::ReadAt(std::uint64_t offset, void* destination, std::uint32_t n)
{
    return TransferExactly(static_cast<char*>(destination), n,
                           [this, offset](char* at, std::uint32_t left, std::uint32_t done) {
                               return ::pread(fd_, at, left, static_cast<off_t>(offset + done));
                           });
}

std::uint64_t FileHandle::Size() const
{
    struct stat st { };
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

bool FileHandle::Close()
{
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 || errno == EINTR;
}

}  // namespace orv
