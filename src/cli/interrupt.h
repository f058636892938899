#pragma once

namespace orv::cli {

// Ctrl-C: the first one asks the batch to stop at its next pump point, like the
// window's Stop button; a second one ends the process at once with code 130.
// Safe to ask from any thread.
void InstallInterruptHandler();
bool InterruptRequested();

}  // namespace orv::cli
