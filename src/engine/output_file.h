#pragma once

#include <cstdint>
#include <string>

#include "file_handle.h"

namespace orv {

// A file the engine writes. Every failure is fatal and names the path: one that
// cannot be opened, and one whose bytes did not all reach the disk (a full disk).
class OutputFile {
public:
    explicit OutputFile(std::string path);  // opens; file-open FatalError on failure
    void Write(const void* data, std::uint32_t n);
    void Close();

private:
    std::string path_;
    FileHandle file_;
};

}  // namespace orv
