#pragma once

#include <cstdint>
#include <string>

namespace orv {

class SettingsFile;

enum OutputMode : std::int32_t { AllBmp = 0, AllPng = 1, AlphaPng = 2 };

// What a batch converts with, set once by a front end: the window from its controls when
// a batch starts, orvconv-cli from its command line.
struct BatchOptions {
    std::string exeDir;  // folder in which output folders are made, ending in "/"
    OutputMode outputMode = AllBmp;
    bool aniRaw = false;  // animation entries of archives written raw
    const SettingsFile* iniFile = nullptr;  // none: frames composed without settings
};

}  // namespace orv
