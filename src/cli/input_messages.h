#pragma once

#include <string>

#include "engine/read/archive.h"

namespace orv::cli {

// Every message orvconv-cli writes on stderr starts with its name.
inline constexpr const char* kMessagePrefix = "orvconv-cli: ";

// "PATH: passed over: REASON" (control bytes as "%XX").
std::string PassedOverText(const std::string& path, PassedOver why);
// The window's text for an input that cannot be opened, naming the path as given and
// followed by the system's reason.
std::string NotOpenedText(const std::string& path, int error);

}  // namespace orv::cli
