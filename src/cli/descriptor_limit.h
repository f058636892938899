#pragma once

#include <cstddef>

namespace orv::cli {

// Raises the soft limit of open descriptors to the hard limit, as far as the system lets
// it: a batch keeps several files open per thread.
void RaiseDescriptorLimit();

// The threads whose files fit in the descriptors the process may open (at least 1): a
// converting thread holds its input, its folder and the files waiting to be put in place.
std::size_t ThreadsWithinDescriptorLimit();

}  // namespace orv::cli
