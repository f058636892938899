#pragma once

#include <optional>

#include "engine/read/reader.h"

namespace orv {

// The most a thumbnail is drawn from: larger pictures, and larger entries, give no thumbnail,
// so that time and memory stay bounded whatever the file claims. An input opened for
// thumbnails alone reads within them too.
inline constexpr ReadLimits kThumbnailLimits{.entryBytes = std::uint64_t{128} << 20,
                                             .pictureBytes = std::uint64_t{3} << 25,
                                             .heldBytes = std::uint64_t{3} << 25};

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
