#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orv {

// How a path is written.
// Windows: "\" and ":" separate, a leading "X:" is the drive part, dropped folders are marked
// "...\", and a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC) forms one character with the byte
// after it, which is then never a separator.
// Posix: "/" separates, there is no drive part, dropped folders are marked ".../"; UTF-8 text,
// whose multi-byte characters never contain a "/" byte.
enum class PathStyle { Windows, Posix };

// The width in pixels of a text drawn on one line in a label's font; every byte counts.
using TextWidth = std::function<int(std::string_view)>;

// The path shortened to be at most maxWidth wide: the leading folders are dropped one at a time
// behind a marker, then the drive part, and last the marker, leaving the bare file name, which
// is returned even when it is still too wide. A path that fits, or has no separator, comes back
// unchanged; measure is called once per candidate and never for the bare file name.
std::string FitPathToWidth(std::string_view path, int maxWidth, const TextWidth& measure, PathStyle style);

// One shortening step on a folder part (the folders of a path up to and including the last
// separator, without the drive part): its first folder, or the marker left by an earlier step
// together with the folder after it, becomes the marker; a leading root separator stays. A
// first folder beginning with "." loses its first four bytes as the marker does, so "\.a\b\c\"
// becomes "\...\c\". When no folder separator follows, only that root separator remains, and
// the root alone becomes empty.
std::string DropFirstFolder(std::string_view folderPart, PathStyle style);

}  // namespace orv
