#pragma once

#include <cstdint>

namespace orv {

// Requests above this size are treated as memory that cannot be obtained: on Linux
// a huge allocation may succeed and the process be killed later when it is touched.
// Fuzzing builds lower it so that no input costs more than milliseconds; inputs above
// and below it take the same paths at any limit.
#ifdef ORVCONV_FUZZING
inline constexpr std::uint32_t kMaxScratchBytes = 1u << 22;
#else
inline constexpr std::uint32_t kMaxScratchBytes = 1u << 30;
#endif

// A reusable memory block that grows on demand. Blocks never shrink, and the content
// of an old block is never carried into a new one.
class ScratchBuffer {
public:
    ScratchBuffer() = default;
    ~ScratchBuffer();
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;
    // The block changes hands; the buffer moved from holds none.
    ScratchBuffer(ScratchBuffer&& other) noexcept;
    ScratchBuffer& operator=(ScratchBuffer&& other) noexcept;

    // At least n writable bytes, or null when the memory cannot be obtained.
    // n == 0 releases the held block and returns an empty, non-null block.
    // With zeroFill the first n bytes are zero.
    std::uint8_t* EnsureCapacity(std::uint32_t n, bool zeroFill);

    std::uint32_t capacity() const { return capacity_; }

private:
    void Release();

    std::uint8_t* block_ = nullptr;
    std::uint32_t capacity_ = 0;
};

}  // namespace orv
