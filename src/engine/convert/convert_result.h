#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

// What became of one input file: converted to its end, stopped, passed over (not an
// input of a kind converted), or not opened (the user was told).
enum class ConvertResult : std::int32_t { Finished = 0, Cancelled = 1, Skipped = -1, NotOpened = -2 };

// The message a batch ends with, by what became of the last input handed over: none
// when that input was passed over or could not be opened.
std::optional<std::string_view> FinalMessage(ConvertResult last);

}  // namespace orv
