#pragma once

#include <cstdint>

namespace orv {

// Every PNG is compressed at zlib level 8 with unfiltered rows.
inline constexpr int kPngCompressionLevel = 8;

// Results of SaveDibAsPng.
inline constexpr int kPngWritten = 0;
inline constexpr int kPngCannotEncode = 102;
inline constexpr int kPngLibraryFailed = 108;
inline constexpr int kPngNotCreated = 109;
// Failures that are not the encoder's: memory that could not be obtained, and a
// descriptor the process could not open (too many open files).
inline constexpr int kPngOutOfMemory = 110;
inline constexpr int kPngNoDescriptor = 111;

class OutputFile;

// Encodes a bitmap as PNG through libpng into the file at path, which replaces what
// the path held only when the whole file was written. block is a 40-byte bitmap
// information header followed by its colour table entries (read for 8 bits or fewer);
// pixels are its rows, bottom row first. Returns one of the results above.
int SaveDibAsPng(const char* path, const std::uint8_t* block, const std::uint8_t* pixels);
// The same into a begun output file, which the caller then puts in place.
int SaveDibAsPng(const OutputFile& out, const std::uint8_t* block, const std::uint8_t* pixels);

}  // namespace orv
