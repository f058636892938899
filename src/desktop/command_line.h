#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orv::desktop {

// What the command line asks once the toolkit has taken its own options: the files it
// names, as full paths like the file dialog gives (their bytes kept as they are), or the
// text of the usage error when an option is left that this program does not know. "--"
// ends the options, so that a file's name may start with "-".
struct CommandLine {
    std::vector<std::string> files;
    std::string usageError;
};

// What a window program says of itself on the command line.
struct ProgramTexts {
    const char* name;  // "orvconv"
    const char* usage;  // the arguments after the name: "[FILE...]"
    const char* help;  // what --help prints after the usage line
};

CommandLine ReadCommandLine(int argc, char** argv, const ProgramTexts& program);

// Answers `PROGRAM --help` and `PROGRAM --version` (also -h, -V), given anywhere before
// "--", on stdout, before any window or display is needed; the exit code then, none for
// every other command line.
std::optional<int> AnswerInformationRequest(int argc, char** argv, const ProgramTexts& program);

}  // namespace orv::desktop
