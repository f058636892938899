#pragma once

#include <optional>

#include "pack/job/pack_folder.h"

namespace orv::packcli {

struct PackCliOptions {
    pack::PackOptions pack;
    bool quiet = false;
};

// The parsed options, or the exit code when the process should end at once (0 after
// --help or --version, 2 after a usage error, with its text printed).
struct PackParseOutcome {
    std::optional<PackCliOptions> options;
    int exitCode = 0;
};

PackParseOutcome ParsePackOptions(int argc, const char* const* argv);

}  // namespace orv::packcli
