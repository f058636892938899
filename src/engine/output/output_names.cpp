#include "engine/output/output_names.h"

#include <cstdio>

#include "engine/base/text.h"

namespace orv {

std::string FrameSuffix(std::int32_t frameNo)
{
    if (frameNo < 0) return {};
    char text[16];
    std::snprintf(text, sizeof text, "_%04d", static_cast<int>(frameNo));
    return text;
}

std::string_view PictureEnding(bool png, std::uint32_t width, std::uint32_t height)
{
    return png && width != 0 && height != 0 ? ".png" : ".bmp";
}

std::string OutputFolderName(std::string_view srcName)
{
    const std::string_view stem = WithoutExtension(srcName);
    // A stem of "", "." or ".." would name exeDir itself or its parent.
    if (stem.empty() || stem == "." || stem == "..") return EscapeForFileName(srcName);
    return EscapeForFileName(stem);
}

}  // namespace orv
