#include "engine/io/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "engine/base/fatal_error.h"
#include "engine/io/file_handle.h"

namespace orv {

bool InputFile::Open(const std::string& path)
{
    FileHandle file;
    if (!file.Open(path)) {
        const int error = errno;
        source_.reset();
        path_ = path;
        size_ = 0;
        errno = error;
        return false;
    }
    Open(FileSource(file.Release()), path);
    return true;
}

bool InputFile::Open(int fd, const std::string& path)
{
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_WRONLY) {
        // A folder is EISDIR, anything else that is no readable regular file 0, as when
        // a path is opened.
        const int error = S_ISDIR(st.st_mode) ? EISDIR : 0;
        ::close(fd);
        source_.reset();
        path_ = path;
        size_ = 0;
        errno = error;
        return false;
    }
    Open(FileSource(fd), path);
    return true;
}

void InputFile::Open(std::shared_ptr<ByteSource> source, const std::string& path)
{
    source_ = std::move(source);
    path_ = path;
    size_ = source_->size();
}

void InputFile::ReadAt(std::uint64_t offset, void* destination, std::uint32_t n) const
{
    if (offset >= size_) return;
    const auto held = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, size_ - offset));
    // No error number where the input merely ended early.
    errno = 0;
    if (!source_->ReadAt(offset, destination, held)) throw FatalError::CannotRead(path_, errno);
}

std::uint8_t* InputFile::ReadBlock(ScratchBuffer& buffer, std::uint64_t offset, std::uint64_t n) const
{
    if (n > kMaxScratchBytes) throw FatalError::OutOfMemory();
    const auto length = static_cast<std::uint32_t>(n);
    std::uint8_t* block = buffer.EnsureCapacity(length, true);
    if (block == nullptr) throw FatalError::OutOfMemory();
    ReadAt(offset, block, length);
    return block;
}

}  // namespace orv
