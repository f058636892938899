#pragma once

#include <string>

#include "engine/read/archive.h"

namespace orv {

// "PATH: passed over: REASON" (control bytes as "%XX").
std::string PassedOverText(const std::string& path, PassedOver why);
// "PATH: the file is cut short: ...", for an input whose table or entries reach past the
// end of the file (cut short in a copy or a download): it is read with the missing bytes as
// zeros, which the user would not otherwise see. Control bytes shown as "%XX".
std::string PastEndText(const std::string& path);
// The window's text for an input that cannot be opened, naming the path as given and
// followed by the system's reason.
std::string NotOpenedText(const std::string& path, int error);

}  // namespace orv
