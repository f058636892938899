#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings_file.h"

namespace orv::cli {

struct BatchOptions {
    std::string exeDir;  // folder in which output folders are made, ending in "/"
    std::int32_t outputMode = 0;
    bool aniRaw = false;
    const SettingsFile* settings = nullptr;
    unsigned jobs = 1;  // inputs converted at once, each by an engine of its own
    bool quiet = false;
};

// Converts the files, handed out in command-line order to up to options.jobs workers,
// and returns the exit code: 0 when the batch ran to its end, 130 when Ctrl-C stopped
// it, 1 after a fatal error (its text on stderr). Every file is written as a run with
// one worker writes it. At the end stdout says whether the batch finished or was
// stopped: stopped when Ctrl-C cut an input short, otherwise as the last input handed
// over ended (nothing when that one was skipped).
int RunBatch(const BatchOptions& options, const std::vector<std::string>& files);

}  // namespace orv::cli
