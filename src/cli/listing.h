#pragma once

#include <cstdio>
#include <string>

namespace orv::cli {

// What listing an input came to: PastEnd is listed, but its header, table or an entry
// reaches past the end of the file.
enum class ListResult { Listed, PastEnd, PassedOver, NotOpened };

// Writes one tab-separated line per entry of a pack archive (index, name as UTF-8 with
// control bytes as "%XX", offset, size, kind, and a sixth field "past-end" for a record
// that lies past the end of the file or claims bytes beyond it) or per frame of an
// animation file (number, offset) to out. Inputs that are neither are passed over, one
// that cannot be opened is not listed, and an archive reaching past its end is listed;
// each is reported on messages as a conversion reports it. Tables are read as
// a conversion reads them, with the same limits: what they refuse is the same FatalError.
// Where several inputs are listed one after another, each listing starts with the line
// "==> PATH <==" (control bytes as "%XX"), after a blank line but for the first.
enum class Heading { None, First, Later };
ListResult ListInputFile(const std::string& path, std::FILE* out, std::FILE* messages, Heading heading = Heading::None);

}  // namespace orv::cli
