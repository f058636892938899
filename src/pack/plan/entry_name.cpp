#include "pack/plan/entry_name.h"

#include <cctype>

#include "engine/base/text.h"
#include "engine/format/archive_table.h"

namespace orv::pack {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// UTF-8 text to CP932 with each "%XX" (upper-case hex, as written) taken as the byte XX.
std::optional<std::string> Unescaped(std::string_view shown)
{
    std::string out;
    std::size_t textStart = 0;
    const auto flushText = [&](std::size_t end) {
        const std::optional<std::string> text = Utf8ToCp932Exact(shown.substr(textStart, end - textStart));
        if (text) out += *text;
        return text.has_value();
    };
    for (std::size_t i = 0; i + 2 < shown.size(); ++i) {
        const int high = HexDigit(shown[i + 1]);
        const int low = HexDigit(shown[i + 2]);
        if (shown[i] != '%' || high < 0 || low < 0) continue;
        if (!flushText(i)) return std::nullopt;
        out += static_cast<char>(high << 4 | low);
        i += 2;
        textStart = i + 1;
    }
    if (!flushText(shown.size())) return std::nullopt;
    return out;
}

bool ReadsBackAs(const std::optional<std::string>& name, std::string_view shown)
{
    return name && name->find('\0') == std::string::npos && Cp932ToUtf8(*name) == shown;
}

// The text with each "%" that reads as an escape written "%25", as a conversion shows a
// name that holds it: what a name typed with such a "%" of its own reads back as.
std::string PercentsEscaped(std::string_view shown)
{
    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    std::string out;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        out += shown[i];
        if (shown[i] == '%' && i + 2 < shown.size() && hex(shown[i + 1]) && hex(shown[i + 2])) out += "25";
    }
    return out;
}

}  // namespace

std::optional<std::string> EntryNameFor(std::string_view shown)
{
    std::optional<std::string> name = Unescaped(shown);
    if (ReadsBackAs(name, shown)) return name;
    name = Utf8ToCp932Exact(shown);
    if (ReadsBackAs(name, PercentsEscaped(shown))) return name;
    return std::nullopt;
}

bool FitsEntryName(std::string_view shown)
{
    const std::optional<std::string> name = EntryNameFor(shown);
    return name && name->size() <= kEntryNameBytes;
}

}  // namespace orv::pack
