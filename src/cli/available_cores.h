#pragma once

namespace orv::cli {

// The processors this process may run on (its affinity mask), at least 1.
unsigned AvailableCores();

}  // namespace orv::cli
