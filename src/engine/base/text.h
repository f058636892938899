#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Paths here are UTF-8 byte strings separated by "/"; byte-wise searches for "/"
// and "." never hit the inside of a UTF-8 character.

// ASCII letters lower-cased, every other byte kept.
std::string AsciiLower(std::string_view text);

// The part after the last "/".
std::string_view FileNamePart(std::string_view path);

// From the last "." of a file name on, "." included; empty when there is none
// or when a "/" or "\" follows it (a dot in a folder part is no extension).
std::string_view ExtensionOf(std::string_view fileName);

// The path without the "/" it ends in, as messages name a folder ("/" stays).
std::string WithoutTrailingSlash(std::string_view path);

// The file name up to its last "."; the whole name when there is none.
std::string_view WithoutExtension(std::string_view fileName);

// An archive's CP932 name as UTF-8. Bytes that do not convert, and control bytes
// (0x00-0x1F, 0x7F), become "%XX" (two upper-case hex digits), so the result is
// always valid UTF-8 and never moves a terminal's cursor or splits a line. A "%"
// followed by two hex digits becomes "%25", so that the escapes can be undone; any
// other "%" stays as it is.
std::string Cp932ToUtf8(std::string_view cp932);

// The text with its control bytes as "%XX", for showing paths in messages.
std::string EscapeControlBytes(std::string_view text);
// A file name made from UTF-8 text as Cp932ToUtf8 makes one: control bytes as "%XX", and
// "%25" for a "%" followed by two hex digits.
std::string EscapeForFileName(std::string_view text);
// UTF-8 text as CP932 of at most maxBytes bytes, never cut inside a character.
// Characters CP932 lacks, and bytes that are not UTF-8, become "_".
std::string Utf8ToCp932(std::string_view utf8, std::size_t maxBytes);
// UTF-8 text as CP932, or none when a character has no CP932 form or a byte is not UTF-8.
std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8);

// CP932 text with every "/" and "\" that is a character of its own (not the second
// byte of a two-byte character) turned into "_". A name built from a file name may hold
// characters such as "¥" that CP932 stores as "\", which would read back as a separator.
std::string Cp932WithoutSeparators(std::string cp932);

// Whether a name can be joined to a folder without leaving it: not empty, not "."
// or "..", and free of "/" and "\".
bool IsPlainFileName(std::string_view name);

}  // namespace orv
