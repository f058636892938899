#include "engine/base/scratch_buffer.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace orv {

namespace {
// What a request for 0 bytes returns: a valid address that owns nothing.
std::uint8_t emptyBlock;
}  // namespace

ScratchBuffer::~ScratchBuffer()
{
    Release();
}

ScratchBuffer::ScratchBuffer(ScratchBuffer&& other) noexcept :
    block_(std::exchange(other.block_, nullptr)), capacity_(std::exchange(other.capacity_, 0))
{ }

ScratchBuffer& ScratchBuffer::operator=(ScratchBuffer&& other) noexcept
{
    if (this != &other) {
        Release();
        block_ = std::exchange(other.block_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

void ScratchBuffer::Release()
{
    std::free(block_);
    block_ = nullptr;
    capacity_ = 0;
}

std::uint8_t* ScratchBuffer::EnsureCapacity(std::uint32_t n, bool zeroFill)
{
    if (n == 0) {
        Release();
        return &emptyBlock;
    }
    if (block_ != nullptr && capacity_ >= n) {
        if (zeroFill) std::memset(block_, 0, n);
        return block_;
    }
    Release();
    if (n > kMaxScratchBytes) return nullptr;
    // A fresh block is zeroed even when not asked: a canvas that grows between
    // animation frames then starts black, not with whatever memory held, so the
    // same input always gives the same files.
    void* block = std::calloc(n, 1);
    if (block == nullptr) return nullptr;
    block_ = static_cast<std::uint8_t*>(block);
    capacity_ = n;
    return block_;
}

}  // namespace orv
