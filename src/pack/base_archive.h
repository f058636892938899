#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "engine/archive.h"
#include "engine/batch_options.h"
#include "engine/input_file.h"

namespace orv::pack {

// One entry of the original archive.
struct BaseEntry {
    ArchiveEntry record;  // its size cut to what the file holds
    std::string shown;  // its name as orvconv-cli shows it
};

// An original archive, whose entries orvconv-cli's engine converts one at a time, each
// on its own (so that no other entry's files mix in), into a temporary folder that is
// removed with this object.
class BaseArchive {
public:
    // PackError when the file cannot be read or is not a pack archive.
    explicit BaseArchive(const std::string& path);
    ~BaseArchive();
    BaseArchive(const BaseArchive&) = delete;
    BaseArchive& operator=(const BaseArchive&) = delete;

    const std::string& path() const { return path_; }
    const std::vector<BaseEntry>& entries() const { return entries_; }

    // The files orvconv-cli writes for entry i without settings in this output mode:
    // file name to where its copy is. None when the engine ends with a fatal error on it.
    const std::map<std::string, std::string>& Outputs(std::size_t i, OutputMode mode);
    // The first n bytes of entry i, fewer when it is shorter.
    std::vector<std::uint8_t> Head(std::size_t i, std::size_t n);

private:
    std::map<std::string, std::string> Render(std::size_t i, OutputMode mode);

    std::string path_;
    InputFile file_;
    std::vector<BaseEntry> entries_;
    std::string scratch_;  // the temporary folder
    std::map<std::pair<std::size_t, OutputMode>, std::map<std::string, std::string>> rendered_;
};

}  // namespace orv::pack
