#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace orv {

// A picture's token stream paints pixels left to right. A byte from 0x80 up is a
// literal: one pixel of palette colour byte - 0x80. A byte below is a run: kind in the
// high nibble, length in the low one; length 0 stands for 15 plus extension bytes that
// follow, added up to and including the first that is not 255.
inline constexpr std::uint8_t kLiteralToken = 0x80;
inline constexpr std::uint32_t kNibbleRun = 15;  // longest run held by the token byte alone
inline constexpr std::uint8_t kExtensionGoesOn = 255;

// Kind 0 skips pixels, kinds 1 to 7 copy them from a fixed distance back.
inline constexpr unsigned kSkipRun = 0;
inline constexpr unsigned kRunKinds = 8;

constexpr bool IsLiteral(std::uint8_t token)
{
    return token >= kLiteralToken;
}

constexpr std::uint8_t LiteralIndex(std::uint8_t token)
{
    return static_cast<std::uint8_t>(token - kLiteralToken);
}

constexpr std::uint8_t LiteralToken(std::uint8_t index)
{
    return static_cast<std::uint8_t>(kLiteralToken | index);
}

constexpr unsigned RunKind(std::uint8_t token)
{
    return token >> 4;
}

// The run's length, or 0 where extension bytes follow.
constexpr std::uint32_t RunNibble(std::uint8_t token)
{
    return token & 0x0Fu;
}

// Pixels back from the destination to the source of each run kind on a canvas of this
// width: the previous pixel, then the row above from three columns left to two right.
// The skip's entry is 0. Narrow canvases give distances of zero or less.
using CopyDistances = std::array<std::int64_t, kRunKinds>;
CopyDistances CopyDistancesFor(std::int64_t width);

// Bytes of a run token of n pixels.
std::uint32_t RunTokenBytes(std::uint32_t n);
void AppendRun(std::vector<std::uint8_t>& out, unsigned kind, std::uint32_t n);

}  // namespace orv
