#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pack/encode/cg_tokens.h"

namespace orv::pack {

// Part of an entry's bytes: held in memory, or a range of a file copied when the archive
// is written.
struct Piece {
    Bytes bytes;
    std::string path;  // empty: the bytes above
    std::uint64_t offset = 0;
    std::uint64_t length = 0;

    static Piece Held(Bytes bytes) { return {std::move(bytes), {}, 0, 0}; }
    static Piece FromFile(std::string path, std::uint64_t offset, std::uint64_t length)
    {
        return {{}, std::move(path), offset, length};
    }

    std::uint64_t size() const { return path.empty() ? bytes.size() : length; }
};

// One entry of the archive to be written.
struct PlannedEntry {
    std::string name;  // as stored: CP932, at most 16 bytes
    std::string origin;  // what messages name it by: the file it comes from
    std::vector<Piece> pieces;

    std::uint64_t size() const
    {
        std::uint64_t total = 0;
        for (const Piece& piece : pieces) total += piece.size();
        return total;
    }
};

}  // namespace orv::pack
