#pragma once

#include <string>

#include "pack/encode/picture_encoder.h"

namespace orv::pack {

// The pixels of a BMP file (uncompressed 24 or 32 bits, or 8 bits with a colour table;
// bottom-up or top-down) or of a PNG file (any opaque PNG, read through libpng).
// Throws PackError naming the path (shown as `shown`) when the file cannot be read, is
// no such picture, is wider or higher than 65,535 pixels, larger than a picture block
// may be, or has transparent pixels.
Picture ReadBmpFile(const std::string& path, const std::string& shown);
Picture ReadPngFile(const std::string& path, const std::string& shown);

// By the name's extension: ".png" is read as PNG, anything else as BMP.
Picture ReadPictureFile(const std::string& path, const std::string& shown);

// Whether two picture files hold the same pixels; false when either cannot be read.
bool SamePixels(const std::string& a, const std::string& b);

}  // namespace orv::pack
