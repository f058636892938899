#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pack/plan/folder_sources.h"

namespace orv::pack {

// The entry each file makes, where the name alone may mislead: a NAME.bmp, NAME.png or
// NAME.wav that is no picture or sound of the kinds read (or a picture with a twin of
// the other format) is the raw entry of its own name, as conversion dumps such entries;
// a sound or animation whose NAME.pcm or NAME.ani would pass 16 bytes is the entry NAME
// when that ends in "pcm" or "ani" and has no dot, as conversion names its files. note
// gets one line per entry made otherwise than its name suggests.
// The name conversion takes for an entry of this kind (ending "pcm" or "ani") whose
// files are named after the stem of entryShown, when entryShown does not fit: the stem
// itself, when it ends so, has no dot and fits.
std::optional<std::string> StemAsName(const std::string& entryShown, std::string_view kindEnd);

std::vector<EntryOfFile> EntriesOfFiles(const std::vector<SourceFile>& files,
                                        const std::function<void(const std::string&)>& note);

// For an animation file named fileName: raw frames named after the reader's name of the
// animation (its file's name cut to 15 bytes, "walkingheroo.an_0002") join its frames.
void JoinCutRawFrames(const std::vector<SourceFile>& files, const std::string& fileName,
                      std::vector<EntryOfFile>& entries);

}  // namespace orv::pack
