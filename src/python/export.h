#pragma once

#include <string>
#include <vector>

#include "engine/read/reader.h"

namespace orv::python {

// The drawn frames written to path as one looping animated file, "webp" or "gif", each shown
// for frameMs milliseconds, with the engine's writers: the file orvconv-cli --animation writes
// for them. Written under a temporary name and put in place; nothing is left when stop says
// so or when writing fails (the write FatalError). ValueError for another format, or for
// frames with nothing to show.
void SaveAnimation(std::vector<RenderedFrame> frames, const std::string& path, const std::string& format, int frameMs,
                   const ReaderStop& stop);

}  // namespace orv::python
