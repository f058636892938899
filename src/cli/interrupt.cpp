#include "cli/interrupt.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

#include "cli/progress_line.h"

namespace orv::cli {

namespace {

// Set by the handler on whichever thread takes the signal, read by every worker.
std::atomic<int> firstSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnInterrupt(int number)
{
    int none = 0;
    if (!firstSignal.compare_exchange_strong(none, number)) {
        ProgressLine::ClearForExit();
        _exit(128 + number);
    }
}

}  // namespace

void InstallInterruptHandler()
{
    struct sigaction action { };
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

bool InterruptRequested()
{
    return firstSignal.load() != 0;
}

int InterruptSignal()
{
    return firstSignal.load();
}

}  // namespace orv::cli
