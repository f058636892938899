#include "interrupt.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace orv::cli {

namespace {

// Set by the handler on whichever thread takes the signal, read by every worker.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnInterrupt(int)
{
    if (interrupted.exchange(true)) _exit(130);
}

}  // namespace

void InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested() { return interrupted.load(); }

}  // namespace orv::cli
