#pragma once

#include <string>

namespace orv::cli {

// The line on stderr for an input whose table or entries reach past the end of the file
// (cut short in a copy or a download): it was converted or listed with the missing bytes
// read as zeros, which the user would not otherwise see. Control bytes shown as "%XX".
std::string PastEndText(const std::string& path);

}  // namespace orv::cli
