#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "pack/plan/folder_sources.h"
#include "pack/played/played_frames.h"

namespace orv {
class SettingsFile;
}  // namespace orv

namespace orv::pack {

// How the folder's animations were converted: as what, with which settings (or none), and
// for how long each frame is shown in a WebP or GIF. note gets what reading them tells.
struct PlayedOptions {
    AnimationOutput as = AnimationOutput::Frames;
    const SettingsFile* settings = nullptr;
    std::int32_t frameMs = 100;
    std::function<void(const std::string&)> note;
};

// The frames a played file shows, in order, with their times made into frames.
std::vector<PlayedFrame> ReadPlayedFrames(const SourceFile& file, const PlayedOptions& options);

// Numbers the frames the file does not number (all but a sheet's) from 1 on, past the
// numbers of raw frames and of the frames the settings leave out of the entry.
void NumberPlayedFrames(std::vector<PlayedFrame>& frames, const std::set<std::uint32_t>& rawNumbers,
                        const std::string& entryShown, const SettingsFile* settings);

// The animations of the files in `files` that play them (written as options.as says), each a
// source of frames: the file's frames, numbered as a sheet's JSON says or else from 1 on
// past the numbers of the raw frames the folder holds for it and of the frames the settings
// (or none) leave out, and those raw frames. The
// files it reads (a sheet's JSON with its picture) and the raw frames leave `files`.
// PackError naming both files when numbered picture frames of the same animation are
// there too, or when a file cannot be read back into frames.
std::vector<Source> PlayedSources(std::vector<SourceFile>& files, const PlayedOptions& options);

}  // namespace orv::pack
