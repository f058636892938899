#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace orv::app {

// The local files among dropped data, in the order given, as byte strings: a name that
// is not UTF-8 (Shift-JIS copied from elsewhere) keeps its bytes. Other URLs are left out.
std::vector<std::string> DroppedFiles(const QMimeData& data);

}  // namespace orv::app
