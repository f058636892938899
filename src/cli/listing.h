#pragma once

#include <cstdio>
#include <string>

namespace orv::cli {

// What listing an input came to.
enum class ListResult { Listed, PassedOver, NotOpened };

// Writes one tab-separated line per entry of a pack archive (index, name as UTF-8 with
// control bytes as "%XX", offset, size, kind) or per frame of an animation file
// (number, offset) to out. Inputs that are neither are passed over and one that cannot
// be opened is not listed, each reported on messages as a conversion reports it. Tables are read as
// a conversion reads them, with the same limits: what they refuse is the same FatalError.
// Where several inputs are listed one after another, each listing starts with the line
// "==> PATH <==" (control bytes as "%XX"), after a blank line but for the first.
enum class Heading { None, First, Later };
ListResult ListInputFile(const std::string& path, std::FILE* out, std::FILE* messages, Heading heading = Heading::None);

}  // namespace orv::cli
