#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/io/file_identity.h"

namespace orv {

class SettingsFile;

enum OutputMode : std::int32_t { AllBmp = 0, AllPng = 1, AlphaPng = 2 };

// What an animation becomes: its composed frames as numbered pictures, or one file that
// plays them (animated WebP, looping GIF, or a PNG sprite sheet with a JSON index).
enum class AnimationOutput { Frames, Webp, Gif, Sheet };

// The names front ends give the choices above, in the order they offer them, the
// default first.
const std::vector<std::pair<std::string, OutputMode>>& OutputModeNames();
const std::vector<std::pair<std::string, AnimationOutput>>& AnimationOutputNames();
// What the file that plays an animation NAME adds to NAME (".webp" for NAME.webp,
// "_sheet.png" for a sprite sheet, whose index is NAME_sheet.json); empty for frames.
std::string_view AnimationFileEnding(AnimationOutput output);

// What a batch converts with, set once by a front end: the window from its controls when
// a batch starts, orvconv-cli from its command line.
struct BatchOptions {
    std::string exeDir;  // folder in which output folders are made, ending in "/"
    OutputMode outputMode = AllBmp;
    bool aniRaw = false;  // animation entries of archives written raw
    AnimationOutput animation = AnimationOutput::Frames;
    std::int32_t frameMs = 100;  // display time of each frame in an animated WebP or GIF
    std::int32_t sheetColumns = 0;  // frames per sprite sheet row; 0: the frame count, at most 16
    const SettingsFile* iniFile = nullptr;  // none: frames composed without settings
    // Every input of the batch: no entry of any input is written over one of them (the
    // input being converted is never written over in any case).
    std::vector<FileIdentity> batchInputs;
};

}  // namespace orv
