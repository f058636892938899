#include "engine/io/byte_source.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace orv {

namespace {

class OpenFile final : public ByteSource {
public:
    explicit OpenFile(int fd)
    {
        handle_.Adopt(fd);
        struct stat st { };
        if (::fstat(handle_.descriptor(), &st) == 0) {
            size_ = static_cast<std::uint64_t>(st.st_size);
            identity_ = {st.st_dev, st.st_ino};
        }
    }
    std::uint64_t size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* destination, std::uint32_t n) override
    {
        return handle_.ReadAt(offset, destination, n);
    }
    std::optional<FileIdentity> identity() const override { return identity_; }

private:
    FileHandle handle_;
    std::uint64_t size_ = 0;
    FileIdentity identity_;
};

class Memory final : public ByteSource {
public:
    Memory(std::shared_ptr<const void> owner, const std::uint8_t* data, std::size_t size) :
        owner_(std::move(owner)), data_(data), size_(size)
    { }
    std::uint64_t size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* destination, std::uint32_t n) override
    {
        errno = 0;
        if (offset > size_ || n > size_ - offset) return false;
        std::memcpy(destination, data_ + offset, n);
        return true;
    }

private:
    std::shared_ptr<const void> owner_;
    const std::uint8_t* data_;
    std::size_t size_;
};

class Callback final : public ByteSource {
public:
    Callback(std::uint64_t size, ReadCallback read) : size_(size), read_(std::move(read)) { }
    std::uint64_t size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* destination, std::uint32_t n) override
    {
        errno = 0;
        if (offset > size_ || n > size_ - offset) return false;
        return read_(offset, destination, n);
    }

private:
    std::uint64_t size_;
    ReadCallback read_;
};

}  // namespace

std::shared_ptr<ByteSource> FileSource(int fd)
{
    return std::make_shared<OpenFile>(fd);
}

std::shared_ptr<ByteSource> MemorySource(std::shared_ptr<const void> owner, const std::uint8_t* data, std::size_t size)
{
    return std::make_shared<Memory>(std::move(owner), data, size);
}

std::shared_ptr<ByteSource> CallbackSource(std::uint64_t size, ReadCallback read)
{
    return std::make_shared<Callback>(size, std::move(read));
}

}  // namespace orv
