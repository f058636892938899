#pragma once

#include <string>
#include <vector>

#include "pack/planned_entry.h"

namespace orv::pack {

// PackError naming the folder when there are more than 65,535 entries, or the file of
// the first entry that would end past 4 GiB.
void CheckArchiveLimits(const std::vector<PlannedEntry>& entries, const std::string& folderShown);

// Writes the archive at outPath under a temporary name in its folder and puts it in
// place once complete: the name keeps its earlier file until then, and on any failure.
// PackError when it cannot be written, or when a source file no longer holds the bytes
// planned from it.
void WriteArchive(const std::vector<PlannedEntry>& entries, const std::string& outPath);

// Writes a copy of the file at `from` to outPath the same way.
void CopyArchive(const std::string& from, const std::string& outPath);

}  // namespace orv::pack
