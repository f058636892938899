#pragma once

#include <cstdint>
#include <string>

#include "pack/encode/cg_tokens.h"

namespace orv::pack {

// The whole file; PackError naming `shown` when it cannot be opened or read, or is
// longer than limit bytes.
Bytes ReadFileBytes(const std::string& path, const std::string& shown, std::uint64_t limit);

// The first n bytes of the file, fewer when it is shorter; PackError naming `shown` when
// it cannot be opened or read.
Bytes ReadFileHead(const std::string& path, const std::string& shown, std::uint32_t n);

// Whether the two files hold the same bytes; false when either cannot be read.
bool SameFileBytes(const std::string& a, const std::string& b);
// Whether file a holds exactly `head`, then the length bytes that file b holds from
// offset on.
bool SameAsRange(const std::string& a, const std::string& b, std::uint64_t offset, std::uint64_t length,
                 const Bytes& head = {});

}  // namespace orv::pack
