#include "settings/name_index.h"

namespace orv {

namespace {

unsigned char AsciiUpper(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

std::uint8_t NameBucket(std::string_view name)
{
    // FNV-1a over the upper-cased bytes, folded to eight bits.
    std::uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash ^= AsciiUpper(c);
        hash *= 16777619u;
    }
    return static_cast<std::uint8_t>(hash ^ (hash >> 8) ^ (hash >> 16) ^ (hash >> 24));
}

}  // namespace orv
