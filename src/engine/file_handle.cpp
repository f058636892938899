#include "file_handle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

// Repeats read(2) or write(2) until n bytes have moved; false at end of file or error.
template <typename Byte, typename Transfer>
bool TransferExactly(int fd, Byte* bytes, std::uint32_t n, Transfer transfer)
{
    std::uint32_t done = 0;
    while (done < n) {
        const ssize_t moved = transfer(fd, bytes + done, n - done);
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) return false;
        done += static_cast<std::uint32_t>(moved);
    }
    return true;
}

}  // namespace

FileHandle::~FileHandle() { Close(); }

int FileHandle::OpenDescriptor(const std::string& path, Mode mode)
{
    // Output files never follow a symbolic link, so a link planted in an output
    // folder cannot redirect a write elsewhere. O_NONBLOCK keeps a FIFO from
    // blocking the open; anything but a regular file is then refused.
    const int flags = O_CLOEXEC | O_NONBLOCK
        | (mode == Mode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW);
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return fd;
}

bool FileHandle::Open(const std::string& path, Mode mode)
{
    Close();
    fd_ = OpenDescriptor(path, mode);
    return fd_ >= 0;
}

bool FileHandle::Read(void* destination, std::uint32_t n)
{
    return TransferExactly(fd_, static_cast<char*>(destination), n, ::read);
}

bool FileHandle::Write(const void* source, std::uint32_t n)
{
    return TransferExactly(fd_, static_cast<const char*>(source), n, ::write);
}

bool FileHandle::Seek(std::uint32_t offset)
{
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

std::uint64_t FileHandle::Size() const
{
    struct stat st {};
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
