#pragma once

#include <cstdio>
#include <string>

namespace orv::cli {

// Writes one tab-separated line per entry of a pack archive (index, name as UTF-8,
// offset, size, kind) or per frame of an animation file (number, offset) to out.
// Inputs that are neither are passed over; one that cannot be opened is reported on
// messages with the text a conversion shows.
void ListInputFile(const std::string& path, std::FILE* out, std::FILE* messages);

}  // namespace orv::cli
