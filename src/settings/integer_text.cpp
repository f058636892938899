#include "settings/integer_text.h"

#include <optional>

namespace orv {

namespace {

constexpr std::uint64_t kMostNegativeMagnitude = 2147483648u;

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The digits after a hexadecimal prefix; nullopt when the text has no such prefix.
std::optional<std::string_view> HexDigitsOf(std::string_view text)
{
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) return text.substr(1);
    if (text.starts_with("0x") || text.starts_with("0X")) return text.substr(2);
    return std::nullopt;
}

std::optional<std::uint32_t> HexBits(std::string_view digits)
{
    if (digits.empty()) return std::nullopt;
    std::uint32_t bits = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        // A set top nibble would be shifted out; leading zeros never get here.
        if (digit < 0 || bits > 0x0FFFFFFFu) return std::nullopt;
        bits = (bits << 4) | static_cast<std::uint32_t>(digit);
    }
    return bits;
}

// Stops as soon as the value passes the largest magnitude any sign allows, so a long
// run of digits cannot overflow.
std::optional<std::uint64_t> DecimalMagnitude(std::string_view digits)
{
    if (digits.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > kMostNegativeMagnitude) return std::nullopt;
    }
    return magnitude;
}

}  // namespace

std::int32_t ParseIntegerText(std::string_view text, std::int32_t fallback)
{
    bool negative = false;
    if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (const std::optional<std::string_view> hexDigits = HexDigitsOf(text)) {
        const std::optional<std::uint32_t> bits = HexBits(*hexDigits);
        if (!bits) return fallback;
        return static_cast<std::int32_t>(negative ? 0u - *bits : *bits);
    }
    const std::optional<std::uint64_t> magnitude = DecimalMagnitude(text);
    if (!magnitude) return fallback;
    if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude));
    if (*magnitude == kMostNegativeMagnitude) return fallback;
    return static_cast<std::int32_t>(*magnitude);
}

}  // namespace orv
