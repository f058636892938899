#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pack/plan/folder_sources.h"

namespace orv::pack {

// The entry each file makes, where the name alone may mislead: a NAME.bmp, NAME.png or
// NAME.wav that is no picture or sound of the kinds read (or a picture with a twin of
// the other format) is the raw entry of its own name, as conversion dumps such entries;
// a sound or animation whose NAME.pcm or NAME.ani would pass 16 bytes is the entry NAME
// when that ends in "pcm" or "ani" and has no dot, as conversion names its files. note
// gets one line per entry made otherwise than its name suggests.
std::vector<EntryOfFile> EntriesOfFiles(const std::vector<SourceFile>& files,
                                        const std::function<void(const std::string&)>& note);

}  // namespace orv::pack
