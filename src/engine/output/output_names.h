#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// "_0001"-style frame suffix: empty for a negative number, else at least four digits.
std::string FrameSuffix(std::int32_t frameNo);

// The ending of a drawn picture's file: ".png" when PNG is asked for, ".bmp" otherwise and
// for a picture 0 pixels wide or high, which a PNG cannot hold.
std::string_view PictureEnding(bool png, std::uint32_t width, std::uint32_t height);

// The name of the folder, inside exeDir, that an input's files go into: its lower-cased
// file name (srcName) without the extension, or all of it where that would leave "",
// "." or "..", which name no folder of their own; control bytes and "%" escaped as in
// names of entries.
std::string OutputFolderName(std::string_view srcName);

}  // namespace orv
