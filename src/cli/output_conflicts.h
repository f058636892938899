#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orv::cli {

// For each input, the earlier inputs (by position) that must have ended before it may
// start, so that it finds and leaves its files exactly as a run in command-line order
// does: the last earlier one with the same output folder (its files are overwritten),
// the last earlier one whose output folder holds this input (it may write the input),
// and the earlier ones since then that lie in this input's output folder (they are read
// from where this one writes). Inputs of other extensions touch no file and take part
// in nothing. exeDir is the folder output folders are made in, ending in "/".
std::vector<std::vector<std::size_t>> EarlierConflicts(const std::vector<std::string>& files,
                                                       const std::string& exeDir);

}  // namespace orv::cli
