// iconv for the WebAssembly build. Its C library's iconv has no CP932, the code page of
// entry names, so these definitions take the place of its iconv_open, iconv and
// iconv_close: they convert between CP932 and UTF-8 (the only pairs the engine opens)
// with tables taken from the build machine's iconv, so that names come out byte for
// byte as native builds write them. Other pairs cannot be opened (EINVAL).
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>

namespace {

struct Cp932Pair {
    std::uint16_t from;
    std::uint16_t to;
};

#include "cp932_tables.inc"

enum class Direction : std::uintptr_t { FromCp932 = 1, ToCp932 = 2 };

bool Named(const char* name, const char* expected)
{
    return ::strcasecmp(name, expected) == 0;
}

template <std::size_t N> std::optional<std::uint16_t> Find(const Cp932Pair (&table)[N], std::uint32_t key)
{
    if (key > 0xFFFF) return std::nullopt;
    const auto* at = std::lower_bound(std::begin(table), std::end(table), key,
                                      [](const Cp932Pair& pair, std::uint32_t k) { return pair.from < k; });
    if (at == std::end(table) || at->from != key) return std::nullopt;
    return at->to;
}

struct Step {
    std::size_t read = 0;  // 0: none converted, errno in error
    int error = 0;
    std::uint8_t out[4] = {};
    std::size_t written = 0;
};

// One CP932 character at in (left bytes) as UTF-8.
Step FromCp932(const unsigned char* in, std::size_t left)
{
    Step step;
    std::optional<std::uint16_t> unicode;
    if (left >= 2) unicode = Find(kCp932ToUnicode, (in[0] << 8) | in[1]);
    if (unicode) {
        step.read = 2;
    } else {
        unicode = Find(kCp932ToUnicode, in[0]);
        step.read = 1;
    }
    if (!unicode) return Step{0, EILSEQ, {}, 0};
    const std::uint32_t c = *unicode;
    if (c < 0x80) {
        step.out[0] = static_cast<std::uint8_t>(c);
        step.written = 1;
    } else if (c < 0x800) {
        step.out[0] = static_cast<std::uint8_t>(0xC0 | (c >> 6));
        step.out[1] = static_cast<std::uint8_t>(0x80 | (c & 0x3F));
        step.written = 2;
    } else {
        step.out[0] = static_cast<std::uint8_t>(0xE0 | (c >> 12));
        step.out[1] = static_cast<std::uint8_t>(0x80 | ((c >> 6) & 0x3F));
        step.out[2] = static_cast<std::uint8_t>(0x80 | (c & 0x3F));
        step.written = 3;
    }
    return step;
}

// One UTF-8 character at in (left bytes) as CP932.
Step ToCp932(const unsigned char* in, std::size_t left)
{
    const unsigned char lead = in[0];
    std::size_t length = 0;
    std::uint32_t c = 0;
    if (lead < 0x80) {
        length = 1;
        c = lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4;
        c = lead & 0x07;
    } else {
        return Step{0, EILSEQ, {}, 0};
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (k >= left) return Step{0, EINVAL, {}, 0};
        if ((in[k] & 0xC0) != 0x80) return Step{0, EILSEQ, {}, 0};
        c = (c << 6) | (in[k] & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return Step{0, EILSEQ, {}, 0};
    const std::optional<std::uint16_t> code = Find(kUnicodeToCp932, c);
    if (!code) return Step{0, EILSEQ, {}, 0};
    Step step;
    step.read = length;
    if (*code > 0xFF) {
        step.out[0] = static_cast<std::uint8_t>(*code >> 8);
        step.out[1] = static_cast<std::uint8_t>(*code & 0xFF);
        step.written = 2;
    } else {
        step.out[0] = static_cast<std::uint8_t>(*code);
        step.written = 1;
    }
    return step;
}

}  // namespace

extern "C" {

// A descriptor is the direction itself; (iconv_t)-1 is iconv_open's documented failure.
iconv_t iconv_open(const char* to, const char* from)
{
    Direction direction{};
    if (Named(from, "CP932") && Named(to, "UTF-8")) {
        direction = Direction::FromCp932;
    } else if (Named(from, "UTF-8") && Named(to, "CP932")) {
        direction = Direction::ToCp932;
    } else {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
    }
    return reinterpret_cast<iconv_t>(direction);  // NOLINT(performance-no-int-to-ptr)
}

// Converts whole characters as long as they convert and fit; stops at the first that
// does not with EILSEQ (none in the other code page), EINVAL (cut short) or E2BIG.
std::size_t iconv(iconv_t cd, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft)
{
    if (in == nullptr || *in == nullptr) return 0;  // no shift state to reset
    const auto direction = static_cast<Direction>(reinterpret_cast<std::uintptr_t>(cd));
    while (*inLeft > 0) {
        const auto* from = reinterpret_cast<const unsigned char*>(*in);
        const Step step = direction == Direction::FromCp932 ? FromCp932(from, *inLeft) : ToCp932(from, *inLeft);
        if (step.read == 0) {
            errno = step.error;
            return static_cast<std::size_t>(-1);
        }
        if (step.written > *outLeft) {
            errno = E2BIG;
            return static_cast<std::size_t>(-1);
        }
        std::memcpy(*out, step.out, step.written);
        *out += step.written;
        *outLeft -= step.written;
        *in += step.read;
        *inLeft -= step.read;
    }
    return 0;
}

int iconv_close(iconv_t)
{
    return 0;
}

}  // extern "C"
