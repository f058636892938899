#include "engine/base/text.h"

#include <cerrno>
#include <iconv.h>

namespace orv {

namespace {

// One conversion descriptor per direction and thread, opened on first use.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(::iconv_open(to, from)) { }
    ~Iconv()
    {
        if (valid()) ::iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // (iconv_t)-1 is iconv_open's documented failure value.
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }  // NOLINT(performance-no-int-to-ptr)

    // Converts as much of in as fits into out; returns the errno of the stop, 0 when
    // all of in was converted.
    int Convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft)
    {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        const std::size_t result = ::iconv(cd_, &src, &inLeft, &out, &outLeft);
        in = src;
        return result == static_cast<std::size_t>(-1) ? errno : 0;
    }

private:
    iconv_t cd_;
};

Iconv& FromCp932()
{
    thread_local Iconv cd("UTF-8", "CP932");
    return cd;
}

Iconv& ToCp932()
{
    thread_local Iconv cd("CP932", "UTF-8");
    return cd;
}

void AppendEscaped(std::string& out, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

bool IsControlByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A "%" that would read as an escape: written as "%25", so that every "%XX" in a name
// shown stands for one byte.
bool StartsLikeAnEscape(std::string_view text)
{
    return text.size() >= 3 && text[0] == '%' && IsHexDigit(text[1]) && IsHexDigit(text[2]);
}

// The text with each byte that escape(the text from it on) picks as "%XX".
template <typename Pick> std::string EscapedWhere(std::string_view text, Pick escape)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (escape(text.substr(i)))
            AppendEscaped(out, static_cast<unsigned char>(text[i]));
        else
            out += text[i];
    }
    return out;
}

// CP932 text without control bytes as UTF-8, unconvertible bytes escaped.
void AppendConverted(std::string& out, std::string_view cp932)
{
    Iconv& cd = FromCp932();
    const char* in = cp932.data();
    std::size_t inLeft = cp932.size();
    // A CP932 character of one or two bytes never takes more than three in UTF-8.
    char buffer[3 * 64];
    while (inLeft > 0) {
        char* put = buffer;
        std::size_t putLeft = sizeof buffer;
        const int stop = cd.valid() ? cd.Convert(in, inLeft, put, putLeft) : EILSEQ;
        out.append(buffer, static_cast<std::size_t>(put - buffer));
        if (stop == E2BIG || stop == 0) continue;
        // An unconvertible or incomplete character: escape its first byte, go on after
        // it. Without a converter only ASCII passes.
        const auto byte = static_cast<unsigned char>(*in);
        if (byte < 0x80)
            out += static_cast<char>(byte);
        else
            AppendEscaped(out, byte);
        ++in;
        --inLeft;
    }
}

}  // namespace

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view FileNamePart(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view ExtensionOf(std::string_view fileName)
{
    const auto dot = fileName.rfind('.');
    const auto separator = fileName.find_last_of("/\\");
    if (dot == std::string_view::npos || (separator != std::string_view::npos && separator > dot)) return {};
    return fileName.substr(dot);
}

std::string WithoutTrailingSlash(std::string_view path)
{
    return std::string(path.size() > 1 && path.back() == '/' ? path.substr(0, path.size() - 1) : path);
}

std::string_view WithoutExtension(std::string_view fileName)
{
    return fileName.substr(0, fileName.size() - ExtensionOf(fileName).size());
}

std::string Cp932ToUtf8(std::string_view cp932)
{
    // Control bytes and "%" are never part of a two-byte CP932 character, so the name can
    // be converted piece by piece between them.
    std::string out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= cp932.size(); ++i) {
        if (i < cp932.size() && !IsControlByte(cp932[i]) && !StartsLikeAnEscape(cp932.substr(i))) continue;
        AppendConverted(out, cp932.substr(start, i - start));
        if (i < cp932.size()) AppendEscaped(out, static_cast<unsigned char>(cp932[i]));
        start = i + 1;
    }
    return out;
}

std::string EscapeControlBytes(std::string_view text)
{
    return EscapedWhere(text, [](std::string_view rest) { return IsControlByte(rest[0]); });
}

std::string EscapeForFileName(std::string_view text)
{
    return EscapedWhere(text, [](std::string_view rest) { return IsControlByte(rest[0]) || StartsLikeAnEscape(rest); });
}

std::string Utf8ToCp932(std::string_view utf8, std::size_t maxBytes)
{
    std::string out(maxBytes, '\0');
    Iconv& cd = ToCp932();
    const char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    char* put = out.data();
    std::size_t putLeft = maxBytes;
    while (inLeft > 0 && putLeft > 0) {
        const int stop = cd.valid() ? cd.Convert(in, inLeft, put, putLeft) : EILSEQ;
        if (stop == 0 || stop == E2BIG) break;
        // Skip the character CP932 lacks (or one stray byte) and mark it with "_".
        std::size_t skip = 1;
        const auto lead = static_cast<unsigned char>(*in);
        if (lead >= 0xC0) {
            while (skip < inLeft && skip < 4 && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
        }
        *put++ = lead < 0x80 ? static_cast<char>(lead) : '_';
        in += skip;
        inLeft -= skip;
        --putLeft;
    }
    out.resize(maxBytes - putLeft);
    return out;
}

std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8)
{
    Iconv& cd = ToCp932();
    if (!cd.valid()) return std::nullopt;
    // A character never takes more bytes in CP932 than in UTF-8.
    std::string out(utf8.size(), '\0');
    const char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    char* put = out.data();
    std::size_t putLeft = out.size();
    if (cd.Convert(in, inLeft, put, putLeft) != 0) return std::nullopt;
    out.resize(out.size() - putLeft);
    return out;
}

std::string Cp932WithoutSeparators(std::string cp932)
{
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC))
            ++i;  // a lead byte: the next one belongs to its character
        else if (byte == '/' || byte == '\\')
            cp932[i] = '_';
    }
    return cp932;
}

bool IsPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos;
}

}  // namespace orv
