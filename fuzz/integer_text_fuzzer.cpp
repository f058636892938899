// Arbitrary text read as a settings integer, against a reading written here on its
// own: an optional sign, then either decimal digits within the 32-bit signed range, or
// "$", "x", "X", "0x" or "0X" and at most eight hexadecimal digits after any leading
// zeros, whose 32 bits read as two's complement and are negated (wrapping) under "-".
// Any other text gives the fallback, so two different fallbacks tell a failure apart.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz_support.h"
#include "settings/integer_text.h"

namespace {

bool AllOf(std::string_view text, std::string_view digits)
{
    return !text.empty() && text.find_first_not_of(digits) == std::string_view::npos;
}

std::string_view WithoutLeadingZeros(std::string_view digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

std::optional<std::int32_t> Reference(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::size_t prefix = 0;
    if (text.starts_with("0x") || text.starts_with("0X"))
        prefix = 2;
    else if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X'))
        prefix = 1;
    if (prefix > 0) {
        const std::string_view digits = text.substr(prefix);
        if (!AllOf(digits, "0123456789abcdefABCDEF")) return std::nullopt;
        const std::string_view significant = WithoutLeadingZeros(digits);
        if (significant.size() > 8) return std::nullopt;
        std::uint32_t bits = 0;
        for (const char c : significant) {
            const std::uint32_t digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
            bits = bits * 16 + digit;
        }
        return static_cast<std::int32_t>(negative ? 0u - bits : bits);
    }
    if (!AllOf(text, "0123456789")) return std::nullopt;
    const std::string_view significant = WithoutLeadingZeros(text);
    if (significant.size() > 10) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : significant) value = value * 10 + (c - '0');
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int32_t> expected = Reference(text);
    for (const std::int32_t fallback : {0, -1}) {
        orv::fuzz::Require(orv::ParseIntegerText(text, fallback) == expected.value_or(fallback));
    }
    return 0;
}
