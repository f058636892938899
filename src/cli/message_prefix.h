#pragma once

namespace orv::cli {

// Every message orvconv-cli writes on stderr starts with its name.
inline constexpr const char* kMessagePrefix = "orvconv-cli: ";

}  // namespace orv::cli
