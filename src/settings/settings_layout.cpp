#include "settings/settings_layout.h"

namespace orv {

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Takes the first line off text, together with its break.
std::string_view TakeLine(std::string_view& text)
{
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        const std::string_view line = text;
        text = {};
        return line;
    }
    const std::string_view line = text.substr(0, end);
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crLf ? 2 : 1));
    return line;
}

bool IsHeader(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

}  // namespace

SettingsLayout LayOutSettings(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    SettingsLayout layout;
    while (!text.empty()) {
        const std::string_view line = Trim(TakeLine(text));
        if (line.empty() || line.front() == ';') continue;
        if (IsHeader(line)) {
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            layout.sections.push_back({name, layout.entries.size(), 0});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (layout.sections.empty() || equals == std::string_view::npos) continue;
        layout.entries.push_back({Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
        ++layout.sections.back().entryCount;
    }
    return layout;
}

}  // namespace orv
