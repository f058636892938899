#pragma once

#include <string>
#include <string_view>

namespace orv::app {

// The caption of every message window: the executable's file name cut at its
// first ".", every character after the first in lower case (AB.EXE gives Ab).
std::string ProgramTitle(std::string_view executablePath);

// An error's message as the error display shows it: a full stop is added when the
// last byte sorts after "." (a letter or a Japanese character), never to an empty text.
std::string ErrorDisplayText(std::string message);

}  // namespace orv::app
