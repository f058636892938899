#pragma once

#include <cstdint>

namespace orv {

// What became of one input file.
enum class ConvertResult : std::int32_t { Finished = 0, Cancelled = 1, Skipped = -1 };

}  // namespace orv
