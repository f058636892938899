// Run on the build machine: writes the CP932 tables of the WebAssembly build's iconv
// (cp932_iconv.cpp) as C++ arrays, asked character by character of the machine's own
// iconv, the one native builds convert names with, so that both agree byte for byte.
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The code points (UTF-32LE) in converts to, all of it; none when it does not convert whole.
std::vector<std::uint32_t> Convert(iconv_t cd, const std::string& in)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* from = const_cast<char*>(in.data());
    std::size_t fromLeft = in.size();
    char out[64];
    char* to = out;
    std::size_t toLeft = sizeof out;
    if (iconv(cd, &from, &fromLeft, &to, &toLeft) == static_cast<std::size_t>(-1) || fromLeft != 0) return {};
    std::vector<std::uint32_t> units;
    for (const char* p = out; p + 4 <= to; p += 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(p);
        units.push_back(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
    }
    return units;
}

std::string Utf8(std::uint32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

}  // namespace

int main()
{
    const iconv_t decode = iconv_open("UTF-32LE", "CP932");
    const iconv_t encode = iconv_open("CP932", "UTF-8");
    if (decode == reinterpret_cast<iconv_t>(-1) || encode == reinterpret_cast<iconv_t>(-1)) {
        std::fputs("cp932_table_gen: this machine's iconv has no CP932\n", stderr);
        return 1;
    }
    std::puts("// Written by cp932_table_gen from the build machine's iconv.");
    // Codes of one byte are 0x00XX, of two bytes 0xLLTT (never below 0x8000).
    std::puts("inline constexpr Cp932Pair kCp932ToUnicode[] = {");
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
        if (code > 0xFF && code < 0x8000) continue;
        std::string bytes;
        if (code > 0xFF) bytes += static_cast<char>(code >> 8);
        bytes += static_cast<char>(code & 0xFF);
        const std::vector<std::uint32_t> units = Convert(decode, bytes);
        if (units.size() == 1) std::printf("{0x%04X, 0x%04X},\n", static_cast<unsigned>(code), units[0]);
    }
    std::puts("};");
    std::puts("inline constexpr Cp932Pair kUnicodeToCp932[] = {");
    for (std::uint32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        char* from = nullptr;
        const std::string in = Utf8(c);
        from = const_cast<char*>(in.data());
        std::size_t fromLeft = in.size();
        unsigned char out[8];
        char* to = reinterpret_cast<char*>(out);
        std::size_t toLeft = sizeof out;
        iconv(encode, nullptr, nullptr, nullptr, nullptr);
        if (iconv(encode, &from, &fromLeft, &to, &toLeft) == static_cast<std::size_t>(-1) || fromLeft != 0) continue;
        const std::size_t n = sizeof out - toLeft;
        if (n == 1) std::printf("{0x%04X, 0x%04X},\n", static_cast<unsigned>(c), out[0]);
        if (n == 2) std::printf("{0x%04X, 0x%04X},\n", static_cast<unsigned>(c), (out[0] << 8) | out[1]);
    }
    std::puts("};");
    iconv_close(decode);
    iconv_close(encode);
    return 0;
}
