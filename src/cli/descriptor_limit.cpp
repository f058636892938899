#include "cli/descriptor_limit.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>

#include "engine/output/output_queue.h"

namespace orv::cli {

namespace {

// Descriptors for the standard streams, the settings file and the libraries' own.
constexpr rlim_t kReserved = 16;
// Each file under way holds its descriptor and one of its folder, and a third while it is
// encoded or put in place; a thread has at most the files waiting per converter, its
// input and its folder.
constexpr rlim_t kPerThread = 3 * (OutputQueue::kMaxWaitingFiles + 1) + 2;

}  // namespace

void RaiseDescriptorLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

std::size_t ThreadsWithinDescriptorLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return SIZE_MAX;
    return static_cast<std::size_t>(std::max<rlim_t>(limit.rlim_cur, kReserved + kPerThread) - kReserved) / kPerThread;
}

}  // namespace orv::cli
