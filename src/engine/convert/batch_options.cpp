#include "engine/convert/batch_options.h"

namespace orv {

const std::vector<std::pair<std::string, OutputMode>>& OutputModeNames()
{
    static const std::vector<std::pair<std::string, OutputMode>> names{
        {"bmp", AllBmp}, {"png", AllPng}, {"alpha", AlphaPng}};
    return names;
}

const std::vector<std::pair<std::string, AnimationOutput>>& AnimationOutputNames()
{
    static const std::vector<std::pair<std::string, AnimationOutput>> names{{"frames", AnimationOutput::Frames},
                                                                            {"webp", AnimationOutput::Webp},
                                                                            {"gif", AnimationOutput::Gif},
                                                                            {"sheet", AnimationOutput::Sheet}};
    return names;
}

std::string_view AnimationFileEnding(AnimationOutput output)
{
    switch (output) {
    case AnimationOutput::Frames: break;
    case AnimationOutput::Webp: return ".webp";
    case AnimationOutput::Gif: return ".gif";
    case AnimationOutput::Sheet: return "_sheet.png";
    }
    return {};
}

}  // namespace orv
