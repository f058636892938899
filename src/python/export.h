#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/read/reader.h"

namespace orv::python {

// How a saved animation plays: each frame's milliseconds (webp, gif), frames per row of a
// sheet (0: the frame count, at most 16).
struct SaveOptions {
    std::int32_t frameMs = 100;
    std::int32_t sheetColumns = 0;
};

// The drawn frames written to path with the engine's writers, as orvconv-cli --animation
// writes them: "webp" or "gif", one looping file; "sheet", a PNG sprite sheet at path and its
// JSON index beside it (path ending in .json). Written under temporary names and put in place;
// nothing is left when stop says so or when writing fails (the write or PNG FatalError).
// ValueError for another format, or for frames with nothing to show.
void SaveAnimation(std::vector<RenderedFrame> frames, const std::string& path, const std::string& format,
                   const SaveOptions& options, const ReaderStop& stop);

}  // namespace orv::python
