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

}  // namespace orv
