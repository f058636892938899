#pragma once

#include "cli/cli_options.h"

namespace orv::cli {

// Exit codes of orvconv-cli.
inline constexpr int kExitDone = 0;  // every input converted or passed over
inline constexpr int kExitFatal = 1;  // a fatal error, its text on stderr
inline constexpr int kExitUsage = 2;  // the command line was wrong
inline constexpr int kExitNotOpened = 3;  // the batch ran to its end, but an input could not be opened
inline constexpr int kExitNothingConverted = 4;  // every input was passed over
// Every input converted (or listed), but one ends before its table or entries do.
inline constexpr int kExitPastEnd = 5;
// 128 + the signal's number (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP): work was left undone.

// Converts the files, handed out in command-line order to up to options.jobs workers
// that share the encoding of their pictures (options.jobs threads in all), and returns
// the exit code: fatal before stopped before not opened before nothing converted before past
// the end. Every file is
// written as a run with one worker writes it. At the end stdout says whether the batch
// finished or was stopped: stopped when a signal left an input cut short or not
// started, otherwise as the last input handed over ended (nothing when that one was
// skipped).
int RunBatch(const CliOptions& options);

}  // namespace orv::cli
