#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv::pack {

// The CP932 entry name that orvconv-cli shows as `shown` (UTF-8, with "%XX" for bytes
// it escapes): the escapes undone, or kept as typed where undoing them would not read
// back the same. None when no name without NUL bytes reads back as exactly `shown`.
std::optional<std::string> EntryNameFor(std::string_view shown);

}  // namespace orv::pack
