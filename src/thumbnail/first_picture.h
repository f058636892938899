#pragma once

#include <optional>

#include "engine/read/reader.h"

namespace orv {

// The most a thumbnail is drawn from: larger pictures, and entries larger than this many
// bytes, give no thumbnail, so that time and memory stay bounded whatever the file claims.
inline constexpr std::uint64_t kThumbnailMaxPixels = std::uint64_t{1} << 25;
inline constexpr std::uint32_t kThumbnailMaxEntryBytes = 128u << 20;

// What entry i shows first, as conversion writes it: a picture entry's pixels, or an
// animation's first composed frame with the reader's settings. None for other entries, for
// pictures of a type that is not drawn, animations that draw no frame, and entries beyond
// the limits above.
std::optional<RgbImage> EntryPicture(Reader& reader, std::size_t i);

// What an input shows first, as conversion writes it: the first entry that draws a
// picture (a picture entry, or an animation's first composed frame). None when no entry
// draws one, or when that entry is beyond the limits above.
std::optional<RgbImage> FirstPicture(Reader& reader);

}  // namespace orv
