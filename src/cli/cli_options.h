#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/convert/batch_options.h"

namespace orv::cli {

struct CliOptions {
    // Parsed from the command line but for exeDir (from outputRoot) and iniFile (loaded
    // from settingsPath), which main fills in before the batch.
    BatchOptions batch;
    std::string settingsPath;
    std::string outputRoot;  // empty: the current folder
    bool list = false;
    bool quiet = false;
    unsigned jobs = 1;  // threads for inputs and their pictures; the number of cores unless given
    std::vector<std::string> files;
};

// The parsed options, or the exit code when the process should end at once
// (0 after --help or --version, 2 after a usage error, with its text printed).
struct ParseOutcome {
    std::optional<CliOptions> options;
    int exitCode = 0;
};

ParseOutcome ParseCliOptions(int argc, const char* const* argv);

}  // namespace orv::cli
