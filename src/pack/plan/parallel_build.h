#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pack/plan/folder_sources.h"
#include "pack/files/pack_error.h"
#include "pack/archive/planned_entry.h"

namespace orv {
class SettingsFile;
}  // namespace orv

namespace orv::pack {

// The entries of the sources, each named by names[i], built on up to `threads` threads
// (each entry's pictures in full on one of them); entries, and the notes building them
// gave, come back in source order, so the result is the same on any number of threads.
// The first failure in source order is thrown. stop is asked before each entry.
std::vector<PlannedEntry> BuildEntries(const std::vector<Source>& sources, const std::vector<std::string>& names,
                                       bool quantize, const SettingsFile* settings,
                                       const std::function<void(const std::string&)>& note, const PackStop& stop,
                                       unsigned threads);

}  // namespace orv::pack
