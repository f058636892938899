#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/convert/batch_options.h"
#include "pack/encode/picture_encoder.h"

namespace orv::pack {

// One frame read back from such a file: its number where the file tells it (a sheet's
// JSON), else 0, its pixels as they are shown, and how long it is shown in the file's
// unit (milliseconds in a WebP, hundredths of a second in a GIF; 0 in a sheet).
struct PlayedFrame {
    std::uint32_t number = 0;
    std::shared_ptr<const Picture> picture;
    std::uint32_t duration = 0;
};

// The animation entry a file of this name plays when orvconv-cli wrote the folder's
// animations as `as` says (walk.webp, walk.gif, walk_sheet.png: walk.ani), or none. A
// sheet's JSON (walk_sheet.json) is read along with its picture.
std::optional<std::string> PlayedEntryOf(std::string_view fileName, AnimationOutput as);

// The frames the file shows, in order. PackError naming the file when it cannot be
// read, holds a frame not shown exactly (a GIF frame reduced to 256 colours, transparent
// pixels), or is no file of that kind.
std::vector<PlayedFrame> ReadWebpFrames(const std::string& path, const std::string& shown);
std::vector<PlayedFrame> ReadGifFrames(const std::string& path, const std::string& shown);
std::vector<PlayedFrame> ReadSheetFrames(const std::string& path, const std::string& shown);

}  // namespace orv::pack
