#pragma once

#include <string>
#include <string_view>

// Test archives are laid out by orvpack's own code.
#include "engine/format/little_endian.h"
#include "pack/archive/archive_layout.h"

namespace orv::tools {

using orv::AppendLe32;
using pack::AppendRecord;
using pack::BuildPack;
using pack::Bytes;
using pack::PackHeader;
using pack::PackItem;

Bytes BytesOf(std::string_view text);
// Writes bytes to path, replacing the file; false on any failure.
bool WriteFileBytes(const std::string& path, const Bytes& bytes);

}  // namespace orv::tools
