#include "engine/io/input_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "engine/base/fatal_error.h"

namespace orv {

bool InputFile::Open(const std::string& path)
{
    path_ = path;
    if (!file_.Open(path)) return false;
    struct stat st { };
    ::fstat(file_.descriptor(), &st);
    size_ = static_cast<std::uint64_t>(st.st_size);
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return true;
}

void InputFile::ReadAt(std::uint64_t offset, void* destination, std::uint32_t n)
{
    if (offset >= size_) return;
    const auto held = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, size_ - offset));
    // No error number where the file merely ended early.
    errno = 0;
    if (!file_.ReadAt(offset, destination, held)) throw FatalError::CannotRead(path_, errno);
}

std::uint8_t* InputFile::ReadBlock(ScratchBuffer& buffer, std::uint64_t offset, std::uint64_t n)
{
    if (n > kMaxScratchBytes) throw FatalError::OutOfMemory();
    const auto length = static_cast<std::uint32_t>(n);
    std::uint8_t* block = buffer.EnsureCapacity(length, true);
    if (block == nullptr) throw FatalError::OutOfMemory();
    ReadAt(offset, block, length);
    return block;
}

}  // namespace orv
