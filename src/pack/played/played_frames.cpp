#include "pack/played/played_frames.h"

namespace orv::pack {

std::optional<std::string> PlayedEntryOf(std::string_view fileName, AnimationOutput as)
{
    const std::string_view end = AnimationFileEnding(as);
    if (end.empty() || fileName.size() <= end.size() || !fileName.ends_with(end)) return std::nullopt;
    return std::string(fileName.substr(0, fileName.size() - end.size())) + ".ani";
}

}  // namespace orv::pack
