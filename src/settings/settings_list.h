#pragma once

#include <string>
#include <vector>

namespace orv {

// Appends the names of the regular files in exeDir (a folder path ending in "/") whose
// names end in ".ini" in any letter case, sorted by name with ASCII letters in either case
// alike (names that differ only in case by their bytes), whatever order the folder lists them in.
// Folders, links to folders, and entries that cannot be examined are left out; a folder
// that cannot be read appends nothing.
void ListSettingsFiles(const std::string& exeDir, std::vector<std::string>& items);

}  // namespace orv
