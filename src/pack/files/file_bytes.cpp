#include "pack/files/file_bytes.h"

#include <algorithm>

#include "engine/io/file_handle.h"
#include "pack/files/pack_error.h"

namespace orv::pack {

namespace {

constexpr std::uint32_t kChunkBytes = 1u << 20;

}  // namespace

Bytes ReadFileBytes(const std::string& path, const std::string& shown, std::uint64_t limit)
{
    FileHandle file;
    if (!file.Open(path)) throw PackError(shown + ": cannot be opened");
    const std::uint64_t size = file.Size();
    if (size > limit) throw PackError(shown + ": " + std::to_string(size) + " bytes, more than it may hold");
    Bytes bytes(size);
    for (std::uint64_t at = 0; at < size; at += kChunkBytes) {
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkBytes, size - at));
        if (!file.ReadAt(at, bytes.data() + at, n)) throw PackError(shown + ": cannot be read");
    }
    return bytes;
}

bool SameAsRange(const std::string& a, const std::string& b, std::uint64_t offset, std::uint64_t length,
                 const Bytes& head)
{
    FileHandle first;
    FileHandle second;
    if (!first.Open(a) || !second.Open(b) || first.Size() != head.size() + length
        || (length > 0 && second.Size() < offset + length))
        return false;
    Bytes one(std::max<std::size_t>(kChunkBytes, head.size()));
    if (!first.ReadAt(0, one.data(), static_cast<std::uint32_t>(head.size()))
        || !std::equal(head.begin(), head.end(), one.begin()))
        return false;
    Bytes two(kChunkBytes);
    for (std::uint64_t at = 0; at < length; at += kChunkBytes) {
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkBytes, length - at));
        if (!first.ReadAt(head.size() + at, one.data(), n) || !second.ReadAt(offset + at, two.data(), n)) return false;
        if (!std::equal(one.begin(), one.begin() + n, two.begin())) return false;
    }
    return true;
}

Bytes ReadFileHead(const std::string& path, const std::string& shown, std::uint32_t n)
{
    FileHandle file;
    if (!file.Open(path)) throw PackError(shown + ": cannot be opened");
    Bytes bytes(static_cast<std::size_t>(std::min<std::uint64_t>(n, file.Size())));
    if (!file.ReadAt(0, bytes.data(), static_cast<std::uint32_t>(bytes.size())))
        throw PackError(shown + ": cannot be read");
    return bytes;
}

bool SameFileBytes(const std::string& a, const std::string& b)
{
    FileHandle second;
    return second.Open(b) && SameAsRange(a, b, 0, second.Size());
}

}  // namespace orv::pack
