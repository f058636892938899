#pragma once

#include <stdexcept>
#include <string>

namespace orv {

// A settings file is there but cannot be read; the message names its path.
class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const std::string& path) : std::runtime_error("ファイル " + path + " は開けません") { }
};

}  // namespace orv
