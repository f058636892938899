#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orv::app {

// The files named on the command line (what is left once the toolkit has taken its own
// options), as full paths like the file dialog gives; their bytes are kept as they are.
std::vector<std::string> FilesFromArguments(int argc, char** argv);

// Answers `orvconv --help` and `orvconv --version` (also -h, -V) on stdout, before any window
// or display is needed; the exit code then, none for every other command line.
std::optional<int> AnswerInformationRequest(int argc, char** argv);

}  // namespace orv::app
