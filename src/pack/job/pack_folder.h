#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/convert/batch_options.h"

namespace orv::pack {

struct PackOptions {
    std::string folder;  // as orvconv-cli wrote it, perhaps edited
    std::string output;  // empty: FOLDER.dat beside the folder
    std::string base;  // empty: none; else the original archive the folder came from
    std::vector<std::string> remove;  // entries of the base, by shown name, left out
    bool quantize = false;  // reduce pictures of more than 128 colours
    std::string settings;  // empty: none; else the settings file the folder was converted with
    bool dereference = false;  // follow symbolic links in the folder
    AnimationOutput playedAs = AnimationOutput::Frames;  // how orvconv-cli wrote the folder's animations
    std::int32_t frameMs = 100;  // how long it showed each frame of a WebP or GIF
    bool verbose = false;  // name each entry whose name or kind its file's name does not suggest
    unsigned threads = 0;  // entries encoded at once; 0: one a core
    std::function<bool()> stop;  // asked between entries and chunks written: true abandons the archive
};

// The archive path for the options: output, or FOLDER.dat beside the folder.
std::string ArchivePathFor(const PackOptions& options);

// Builds the archive from the folder and writes it; returns its path. Each entry comes
// from the files orvconv-cli writes for it. With a base archive, its entries stay byte
// for byte and in order unless their files in the folder changed; files that match none
// of them come after. note receives what is worth telling. PackError when no archive can
// be made, in which case nothing is written.
std::string PackFolder(const PackOptions& options, const std::function<void(const std::string&)>& note);

}  // namespace orv::pack
