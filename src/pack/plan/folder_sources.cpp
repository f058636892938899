#include "pack/plan/folder_sources.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/convert/converter.h"
#include "engine/output/output_file.h"
#include "engine/base/text.h"
#include "pack/files/pack_error.h"

namespace orv::pack {

namespace {

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string_view PictureStem(std::string_view fileName)
{
    if (EndsWith(fileName, ".bmp") || EndsWith(fileName, ".png")) return fileName.substr(0, fileName.size() - 4);
    return {};
}

}  // namespace

// stem_NNNN: the number in the one spelling orvconv-cli writes for it.
std::optional<FrameName> NumberedNameOf(std::string_view fileName)
{
    const auto underscore = fileName.rfind('_');
    if (fileName.empty() || underscore == std::string_view::npos) return std::nullopt;
    const std::string_view digits = fileName.substr(underscore + 1);
    if (digits.empty() || digits.size() > 7 || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const auto number = static_cast<std::uint32_t>(std::stoul(std::string(digits)));
    // Only the one spelling orvconv-cli writes for each number.
    if (number == 0 || number > kMaxFrameNumber || FrameSuffix(static_cast<std::int32_t>(number)).substr(1) != digits)
        return std::nullopt;
    return FrameName{std::string(fileName.substr(0, underscore)), number};
}

const SourceFile& Source::FirstFile() const
{
    if (kind != SourceKind::Frames) return file;
    if (rawFrames.empty()) return frames.begin()->second;
    if (frames.empty() || rawFrames.begin()->first < frames.begin()->first) return rawFrames.begin()->second;
    return frames.begin()->second;
}

std::optional<FrameName> FrameNameOf(std::string_view fileName)
{
    return NumberedNameOf(PictureStem(fileName));
}

std::optional<FrameName> RawFrameNameOf(std::string_view fileName)
{
    std::optional<FrameName> frame = NumberedNameOf(fileName);
    if (!frame || !EndsWith(frame->stem, "ani")) return std::nullopt;
    return frame;
}

FolderListing ListFolder(const std::string& folder, bool followLinks)
{
    FolderListing listing;
    std::error_code error;
    std::filesystem::directory_iterator items(folder, error);
    if (error) throw PackError(EscapeControlBytes(folder) + ": cannot be read as a folder (" + error.message() + ")");
    for (const auto& item : items) {
        const std::string name = item.path().filename().string();
        if (!followLinks && item.is_symlink(error))
            listing.links.push_back(name);
        else if (IsTemporaryOutputName(name) || !item.is_regular_file(error))
            listing.skipped.push_back(name);
        else
            listing.files.push_back({item.path().string(), EscapeControlBytes(item.path().string()), nullptr, nullptr});
    }
    const auto byName = [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; };
    std::sort(listing.files.begin(), listing.files.end(), byName);
    std::sort(listing.skipped.begin(), listing.skipped.end());
    std::sort(listing.links.begin(), listing.links.end());
    return listing;
}

bool IsDesktopLeftover(std::string_view fileName)
{
    const std::string lower = AsciiLower(fileName);
    return lower == ".ds_store" || lower == "desktop.ini" || lower == "thumbs.db" || lower == ".directory"
        || lower.starts_with("._") || lower.ends_with('~');
}

EntryOfFile EntryOf(std::string_view fileName)
{
    if (const std::optional<FrameName> frame = FrameNameOf(fileName))
        return {SourceKind::Frames, frame->stem + ".ani", frame->number};
    if (const std::optional<FrameName> frame = RawFrameNameOf(fileName))
        return {SourceKind::Frames, frame->stem, frame->number, true};
    if (const std::string_view stem = PictureStem(fileName); !stem.empty())
        return {SourceKind::Picture, std::string(stem) + ".cg"};
    if (EndsWith(fileName, ".wav") && fileName.size() > 4)
        return {SourceKind::Sound, std::string(fileName.substr(0, fileName.size() - 4)) + ".pcm"};
    return {SourceKind::Raw, std::string(fileName)};
}

std::vector<Source> GroupFiles(const std::vector<SourceFile>& files, const std::vector<EntryOfFile>& entries)
{
    std::map<std::string, Source> byEntry;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const SourceFile& file = files[i];
        const EntryOfFile& entry = entries[i];
        auto [slot, added] = byEntry.try_emplace(entry.entryShown);
        Source& source = slot->second;
        const bool clash = !added && (source.kind != entry.kind || entry.kind != SourceKind::Frames);
        const bool frameClash = !clash && entry.kind == SourceKind::Frames
            && (source.frames.count(entry.frame) != 0 || source.rawFrames.count(entry.frame) != 0);
        if (clash || frameClash) {
            const SourceFile& other = !frameClash       ? source.FirstFile()
                : source.frames.count(entry.frame) != 0 ? source.frames.at(entry.frame)
                                                        : source.rawFrames.at(entry.frame);
            throw PackError(other.shown + " and " + file.shown + " would both make the entry "
                            + EscapeControlBytes(entry.entryShown));
        }
        source.kind = entry.kind;
        source.entryShown = entry.entryShown;
        if (entry.kind == SourceKind::Frames)
            (entry.rawFrame ? source.rawFrames : source.frames).emplace(entry.frame, file);
        else
            source.file = file;
    }
    std::vector<Source> sources;
    sources.reserve(byEntry.size());
    for (auto& [name, source] : byEntry) sources.push_back(std::move(source));
    return sources;
}

}  // namespace orv::pack
