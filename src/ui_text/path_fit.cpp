#include "ui_text/path_fit.h"

#include <algorithm>

namespace orv {

namespace {

struct StyleRules {
    std::string_view root;  // the folder separator, which also marks a rooted path
    std::string_view separators;  // every character that ends the folder part
    std::string_view marker;  // stands for the dropped folders
    std::string_view rootedMarker;  // the marker right after the root
    bool hasDrive;  // "X:" in front of the folders
    bool doubleByte;  // Shift-JIS: a lead byte and the next byte are one character
};

constexpr StyleRules kWindowsRules{"\\", "\\:", "...\\", "\\...\\", true, true};
constexpr StyleRules kPosixRules{"/", "/", ".../", "/.../", false, false};

const StyleRules& RulesOf(PathStyle style)
{
    return style == PathStyle::Windows ? kWindowsRules : kPosixRules;
}

bool IsLeadByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Bytes in the character at pos. A lead byte at the very end has no partner and stands alone.
std::size_t CharLength(std::string_view text, std::size_t pos, const StyleRules& rules)
{
    return rules.doubleByte && IsLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

struct Found {
    std::size_t first = std::string_view::npos;
    std::size_t last = std::string_view::npos;
};

// The first and last single-byte characters of text that are one of chars, read character by
// character so that the second byte of a double-byte character never matches.
Found FindCharacters(std::string_view text, std::string_view chars, const StyleRules& rules)
{
    Found found;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = CharLength(text, pos, rules);
        if (length == 1 && chars.find(text[pos]) != std::string_view::npos) {
            if (found.first == std::string_view::npos) found.first = pos;
            found.last = pos;
        }
        pos += length;
    }
    return found;
}

std::string DropFirstFolder(std::string_view folderPart, const StyleRules& rules)
{
    if (folderPart == rules.root) return {};
    const bool rooted = folderPart.starts_with(rules.root);
    std::string_view rest = folderPart.substr(rooted ? rules.root.size() : 0);
    // Takes off the marker of an earlier step; a folder whose name begins with "." goes the
    // same way, four bytes of it, so that one step may take two short folders.
    if (rest.starts_with('.')) rest.remove_prefix(std::min(rest.size(), rules.marker.size()));
    std::string result(rooted ? rules.root : std::string_view{});
    const std::size_t end = FindCharacters(rest, rules.root, rules).first;
    if (end != std::string_view::npos) {
        result += rules.marker;
        result += rest.substr(end + 1);
    }
    return result;
}

// "X:" where X is a single-byte character, so that the ":" is no second byte.
bool StartsWithDrive(std::string_view folderPart, const StyleRules& rules)
{
    return rules.hasDrive && folderPart.size() >= 2 && folderPart[1] == ':' && CharLength(folderPart, 0, rules) == 1;
}

}  // namespace

std::string FitPathToWidth(std::string_view path, int maxWidth, const TextWidth& measure, PathStyle style)
{
    const StyleRules& rules = RulesOf(style);
    const std::size_t lastSeparator = FindCharacters(path, rules.separators, rules).last;
    const std::size_t nameStart = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
    const std::string_view name = path.substr(nameStart);
    std::string_view folderPart = path.substr(0, nameStart);
    std::string_view drive;
    if (StartsWithDrive(folderPart, rules)) {
        drive = folderPart.substr(0, 2);
        folderPart.remove_prefix(2);
    }

    std::string folder(folderPart);
    std::string result(path);
    while ((!folder.empty() || !drive.empty()) && measure(result) > maxWidth) {
        if (folder == rules.rootedMarker) {
            drive = {};
            folder = rules.marker;
        } else if (folder.empty()) {
            drive = {};
        } else {
            folder = DropFirstFolder(folder, rules);
        }
        result.assign(drive);
        result += folder;
        result += name;
    }
    return result;
}

std::string DropFirstFolder(std::string_view folderPart, PathStyle style)
{
    return DropFirstFolder(folderPart, RulesOf(style));
}

}  // namespace orv
