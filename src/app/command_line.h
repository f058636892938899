#pragma once

#include <string>
#include <vector>

namespace orv::app {

// The files named on the command line (what is left once the toolkit has taken its own
// options), as full paths like the file dialog gives; their bytes are kept as they are.
std::vector<std::string> FilesFromArguments(int argc, char** argv);

}  // namespace orv::app
