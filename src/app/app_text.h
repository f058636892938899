#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "desktop/command_line.h"
#include "engine/read/archive.h"

namespace orv::app {

// What orvconv says of itself on the command line.
extern const desktop::ProgramTexts kOrvconvTexts;

// The caption of every message window: the executable's file name cut at its
// first ".", every character after the first in lower case (AB.EXE gives Ab).
std::string ProgramTitle(std::string_view executablePath);

// An error's message as the error display shows it: a full stop is added when the
// last byte sorts after "." (a letter or a Japanese character), never to an empty text.
std::string ErrorDisplayText(std::string message);

// The name of a settings file as the drop-down shows it: UTF-8 as it is, anything else
// (names from Windows are CP932) decoded from CP932.
std::string ShownSettingsName(std::string_view bytes);

// The message a batch ends with when it passed inputs over: each path (control bytes as
// "%XX") with the reason, the first kMaxListed of them and then how many more.
inline constexpr std::size_t kMaxListed = 20;
std::string PassedOverMessage(const std::vector<std::pair<std::string, PassedOver>>& passedOver);

}  // namespace orv::app
