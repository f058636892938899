#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pack/plan/folder_sources.h"

namespace orv::pack {

// For NAME.bmp the name NAME.png and the other way round; empty for other names.
std::string PictureTwin(const std::string& name);

// The folder's files by name, and which of them an entry has taken.
class FolderFiles {
public:
    explicit FolderFiles(const std::vector<SourceFile>& files);

    const SourceFile* Find(const std::string& name) const;
    // The picture file by this name, or else the one of the other picture format. Only a
    // picture may have been saved again as the other: a raw entry's file is its bytes.
    const SourceFile* FindPicture(const std::string& name) const;

    void Take(const SourceFile& file) { taken_.insert(file.path); }

    // Frames of the animation entry that no output name accounts for: pictures named
    // after its stem, raw frames after its whole name.
    struct ExtraFrame {
        std::uint32_t number;
        bool raw;
        const SourceFile* file;
    };
    std::vector<ExtraFrame> FramesOf(const std::string& entryShown) const;

    std::vector<SourceFile> Untaken() const;

    std::size_t CountEnding(std::string_view end) const;

private:
    std::map<std::string, SourceFile> byName_;
    std::set<std::string> taken_;
};

}  // namespace orv::pack
