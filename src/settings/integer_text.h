#pragma once

#include <cstdint>
#include <string_view>

namespace orv {

// A settings value as a 32-bit integer, or fallback when the text is not exactly one.
// Decimal: an optional sign, then digits 0-9 within -2147483648..2147483647.
// Hexadecimal: an optional sign, then "$", "x", "X", "0x" or "0X" and hex digits that
// fit in 32 bits; the bits read as two's complement, and a sign in front negates that
// value with 32-bit wrap-around (-0x80000000 stays -2147483648).
std::int32_t ParseIntegerText(std::string_view text, std::int32_t fallback);

}  // namespace orv
