#pragma once

#include <string>
#include <vector>

#include "console_status_view.h"
#include "converter.h"

namespace orv::cli {

// Converts the files in the order given, like the window's batch, and returns the
// exit code: 0 when the batch ran to its end, 130 when Ctrl-C stopped it.
// A FatalError passes through to the caller.
int RunBatch(Converter& converter, ConsoleStatusView& view, const std::vector<std::string>& files,
             bool quiet);

}  // namespace orv::cli
