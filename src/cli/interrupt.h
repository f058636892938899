#pragma once

namespace orv::cli {

// Ctrl-C, SIGTERM and SIGHUP: the first asks the batch to stop at its next pump point,
// like the window's Stop button; a second ends the process at once with 128 + its
// number. Safe to ask from any thread.
void InstallInterruptHandler();
bool InterruptRequested();
// The signal that asked the batch to stop; 0 when none did.
int InterruptSignal();

}  // namespace orv::cli
