#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace orv {

// A "key=value" line, both parts trimmed.
struct SettingsEntry {
    std::string_view key;
    std::string_view value;
};

// A "[name]" header and the entries that follow it up to the next header.
struct SettingsSection {
    std::string_view name;
    std::size_t firstEntry = 0;
    std::size_t entryCount = 0;
};

// Sections in file order, and the entries of all sections in file order. Every view
// points into the text the layout was made from.
struct SettingsLayout {
    std::vector<SettingsSection> sections;
    std::vector<SettingsEntry> entries;
};

// Splits settings text into sections and entries. The text ends at its first zero byte;
// lines end at CR, LF or CR LF. Blank lines, ";" comments, and lines before the first
// header are skipped. A line with no "=" has no key for a lookup to find, so it is dropped.
SettingsLayout LayOutSettings(std::string_view text);

}  // namespace orv
