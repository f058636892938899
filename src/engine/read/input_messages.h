#pragma once

#include <string>

#include "engine/read/archive.h"

namespace orv {

// "PATH: passed over: REASON" (control bytes as "%XX").
std::string PassedOverText(const std::string& path, PassedOver why);
// The window's text for an input that cannot be opened, naming the path as given and
// followed by the system's reason.
std::string NotOpenedText(const std::string& path, int error);

}  // namespace orv
