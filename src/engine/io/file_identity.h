#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace orv {

// A file by device and inode number: the same file whatever name or link reaches it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The files the paths name (links followed), in order; paths naming nothing are left out.
std::vector<FileIdentity> IdentitiesOf(const std::vector<std::string>& paths);

}  // namespace orv
