#include "pack/original/folder_files.h"

#include "engine/base/text.h"

namespace orv::pack {

std::string PictureTwin(const std::string& name)
{
    const std::string stem = name.substr(0, name.size() - 4);
    return name.ends_with(".bmp") ? stem + ".png" : name.ends_with(".png") ? stem + ".bmp" : std::string();
}

FolderFiles::FolderFiles(const std::vector<SourceFile>& files)
{
    for (const SourceFile& file : files) byName_.emplace(FileNamePart(file.path), file);
}

const SourceFile* FolderFiles::Find(const std::string& name) const
{
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &found->second;
}

const SourceFile* FolderFiles::FindPicture(const std::string& name) const
{
    const SourceFile* found = Find(name);
    return found != nullptr || PictureTwin(name).empty() ? found : Find(PictureTwin(name));
}

std::vector<FolderFiles::ExtraFrame> FolderFiles::FramesOf(const std::string& entryShown) const
{
    const std::string_view stem = WithoutExtension(entryShown);
    std::vector<ExtraFrame> frames;
    for (const auto& [name, file] : byName_) {
        if (taken_.count(file.path) != 0) continue;
        if (const std::optional<FrameName> frame = FrameNameOf(name); frame && frame->stem == stem)
            frames.push_back({frame->number, false, &file});
        else if (const std::optional<FrameName> raw = NumberedNameOf(name); raw && raw->stem == entryShown)
            frames.push_back({raw->number, true, &file});
    }
    return frames;
}

std::vector<SourceFile> FolderFiles::Untaken() const
{
    std::vector<SourceFile> rest;
    for (const auto& [name, file] : byName_) {
        if (taken_.count(file.path) == 0) rest.push_back(file);
    }
    return rest;
}

std::size_t FolderFiles::CountEnding(std::string_view end) const
{
    std::size_t count = 0;
    for (const auto& [name, file] : byName_) count += name.ends_with(end) ? 1 : 0;
    return count;
}

}  // namespace orv::pack
