#pragma once

#include <array>
#include <cstdint>

namespace orv::pack {

// Up to 128 colours (blue | green << 8 | red << 16) and their palette indices, in a
// table of 256 slots: a lookup per pixel costs a multiplication and a probe or two.
class ColourIndex {
public:
    static constexpr std::uint32_t kCapacity = 128;

    ColourIndex() { keys_.fill(kEmpty); }

    // The colour's index, or -1 when it is not held.
    int Find(std::uint32_t colour) const
    {
        for (std::uint32_t slot = SlotOf(colour);; slot = (slot + 1) % kSlots) {
            if (keys_[slot] == colour) return indices_[slot];
            if (keys_[slot] == kEmpty) return -1;
        }
    }

    // Gives a colour not yet held the next index; false when it is new and 128 are held.
    bool Add(std::uint32_t colour) { return Put(colour, static_cast<std::uint8_t>(size_)); }

    // Gives a colour not yet held this index (an earlier one stays); false when it is new
    // and 128 are held.
    bool Put(std::uint32_t colour, std::uint8_t index)
    {
        std::uint32_t slot = SlotOf(colour);
        for (; keys_[slot] != kEmpty; slot = (slot + 1) % kSlots) {
            if (keys_[slot] == colour) return true;
        }
        if (size_ == kCapacity) return false;
        keys_[slot] = colour;
        indices_[slot] = index;
        order_[size_++] = colour;
        return true;
    }

    // The colours held, in the order they came; zero past size().
    const std::array<std::uint32_t, kCapacity>& colours() const { return order_; }

    std::uint32_t size() const { return size_; }

private:
    static constexpr std::uint32_t kSlots = 256;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;  // no colour: they have 24 bits

    static std::uint32_t SlotOf(std::uint32_t colour) { return (colour * 2654435761u) >> 24; }

    std::array<std::uint32_t, kSlots> keys_{};
    std::array<std::uint8_t, kSlots> indices_{};
    std::array<std::uint32_t, kCapacity> order_{};
    std::uint32_t size_ = 0;
};

}  // namespace orv::pack
