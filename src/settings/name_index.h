#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace orv {

// Section and key names compare with ASCII letters upper-cased and other bytes as they are.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// One of 256 buckets; names that compare equal share their bucket.
std::uint8_t NameBucket(std::string_view name);

// Finds, among a list of names, the last position holding a given name. The names stay
// with their owner: Build and Find read them through nameAt(position).
class NameIndex {
public:
    template <typename NameAt> void Build(std::size_t count, NameAt nameAt)
    {
        heads_.fill(kNone);
        next_.assign(count, kNone);
        // Each name goes in front of its bucket's chain, so a walk meets later positions first.
        for (std::size_t position = 0; position < count; ++position) {
            const std::uint8_t bucket = NameBucket(nameAt(position));
            next_[position] = heads_[bucket];
            heads_[bucket] = position;
        }
    }

    template <typename NameAt> std::optional<std::size_t> Find(std::string_view name, NameAt nameAt) const
    {
        for (std::size_t position = heads_[NameBucket(name)]; position != kNone; position = next_[position]) {
            if (SameNameIgnoringCase(nameAt(position), name)) return position;
        }
        return std::nullopt;
    }

private:
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

    std::array<std::size_t, 256> heads_{};
    std::vector<std::size_t> next_;
};

}  // namespace orv
