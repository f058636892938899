#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv::pack {

// The CP932 entry name that orvconv-cli shows as `shown` (UTF-8, with "%XX" for bytes
// it escapes, "%25" for a "%" of the name that would read as an escape): the escapes
// undone, or kept as typed where undoing them would not read back the same (a name
// such as "100%41.txt" typed by hand, or written before "%" was escaped) and the typed
// name reads back with only its "%" escaped. None otherwise.
std::optional<std::string> EntryNameFor(std::string_view shown);

// Whether that name exists and fits an archive's record.
bool FitsEntryName(std::string_view shown);

}  // namespace orv::pack
