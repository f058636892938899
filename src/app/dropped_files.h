#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace orv::app {

// The local files among dropped data, in the order given, as byte strings: a name that
// is not UTF-8 (Shift-JIS copied from elsewhere) keeps its bytes. Other URLs are left out.
std::vector<std::string> DroppedFiles(const QMimeData& data);

// The paths with each folder among them replaced by the .dat and .ani files directly
// inside it (any letter case, sorted by name); a folder holding none stays, to be passed
// over and named as a folder.
std::vector<std::string> WithFoldersOpened(const std::vector<std::string>& paths);

}  // namespace orv::app
