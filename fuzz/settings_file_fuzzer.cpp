// Arbitrary bytes as a settings file, loaded both from memory and from a file, and
// looked up for every section and key they hold (and for names they do not hold).
// The answers must be those of a plain reading of the format written here on its
// own: lines split at CR, LF or CR LF up to the first zero byte, trimmed of bytes up
// to 0x20; ";" comments; "[name]" headers; "key=value" lines; names compared with
// ASCII letters upper-cased; the last section of a name and its last key line win.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "settings/settings_file.h"

namespace {

constexpr std::size_t kMaxNames = 64;
constexpr std::string_view kFallback = "\x01missing";

struct Line {
    std::string_view key;
    std::string_view value;
};

struct Section {
    std::string_view name;
    std::vector<Line> lines;
};

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<std::uint8_t>(text.front()) <= 0x20) text.remove_prefix(1);
    while (!text.empty() && static_cast<std::uint8_t>(text.back()) <= 0x20) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::vector<Section> Sections(std::string_view text)
{
    std::vector<Section> sections;
    for (const std::string_view raw : Lines(text.substr(0, text.find('\0')))) {
        const std::string_view line = Trimmed(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections.push_back({Trimmed(line.substr(1, line.size() - 2)), {}});
        } else if (!sections.empty()) {
            const std::size_t equals = line.find('=');
            if (equals != std::string_view::npos)
                sections.back().lines.push_back({Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))});
        }
    }
    return sections;
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string Expected(const std::vector<Section>& sections, std::string_view section, std::string_view key)
{
    for (auto s = sections.rbegin(); s != sections.rend(); ++s) {
        if (Upper(s->name) != Upper(section)) continue;
        for (auto line = s->lines.rbegin(); line != s->lines.rend(); ++line) {
            if (Upper(line->key) == Upper(key)) return std::string(line->value);
        }
        return std::string(kFallback);
    }
    return std::string(kFallback);
}

// The name with the case of its ASCII letters swapped.
std::string Swapped(std::string_view name)
{
    std::string swapped(name);
    for (char& c : swapped) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return swapped;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<Section> sections = Sections(text);

    const auto fromBytes = orv::SettingsFile::FromBytes(std::string(text));
    const auto path = orv::fuzz::ScratchDir() / "settings.ini";
    orv::fuzz::WriteFile(path, text);
    const auto loaded = orv::SettingsFile::Load(path.string());

    std::vector<std::pair<std::string, std::string>> queries{{"", ""}, {"no such section", "p1"}};
    for (std::size_t s = 0; s < sections.size() && queries.size() < kMaxNames; ++s) {
        queries.push_back({std::string(sections[s].name), "no such key"});
        for (std::size_t k = 0; k < sections[s].lines.size() && queries.size() < kMaxNames; ++k) {
            const std::string_view key = sections[s].lines[k].key;
            queries.push_back({std::string(sections[s].name), std::string(key)});
            queries.push_back({Swapped(sections[s].name), Swapped(key)});
        }
    }
    for (const auto& [section, key] : queries) {
        const std::string expected = Expected(sections, section, key);
        orv::fuzz::Require(fromBytes->TextValue(section, key, kFallback) == expected);
        orv::fuzz::Require(loaded->TextValue(section, key, kFallback) == expected);
    }
    return 0;
}
