#include "pack/played/played_sources.h"

#include <algorithm>
#include <set>

#include "engine/base/text.h"
#include "engine/export/gif_animation.h"
#include "pack/played/frame_times.h"
#include "pack/files/pack_error.h"
#include "pack/plan/entry_name.h"
#include "pack/plan/file_entries.h"
#include "settings/settings_file.h"

namespace orv::pack {

namespace { }  // namespace

std::vector<PlayedFrame> ReadPlayedFrames(const SourceFile& file, const PlayedOptions& options)
{
    const auto ms = static_cast<std::uint32_t>(options.frameMs);
    switch (options.as) {
    case AnimationOutput::Webp:
        return FramesOfTimes(ReadWebpFrames(file.path, file.shown), ms, "ms", file.shown, options.note);
    case AnimationOutput::Gif:
        return FramesOfTimes(ReadGifFrames(file.path, file.shown),
                             static_cast<std::uint32_t>(GifDelayOf(options.frameMs)), "hundredths of a second",
                             file.shown, options.note);
    case AnimationOutput::Sheet: return ReadSheetFrames(file.path, file.shown);
    case AnimationOutput::Frames: break;
    }
    return {};
}

namespace {

// The entry a played file makes: NAME.ani, or NAME itself where that would pass 16
// bytes, as for numbered frames.
std::string EntryNamed(const std::string& played)
{
    if (FitsEntryName(played)) return played;
    return StemAsName(played, "ani").value_or(played);
}

// Whether the settings leave frame `number` of the entry out, so that conversion showed
// no picture for it.
bool LeftOut(const SettingsFile* settings, const std::string& entryShown, std::uint32_t number)
{
    if (settings == nullptr) return false;
    const std::string section = EntryNameFor(entryShown).value_or(entryShown);
    return settings->IntegerValue(section, "p" + std::to_string(number), 0) == static_cast<std::int32_t>(number);
}

}  // namespace

void NumberPlayedFrames(std::vector<PlayedFrame>& frames, const std::set<std::uint32_t>& rawNumbers,
                        const std::string& entryShown, const SettingsFile* settings)
{
    std::uint32_t next = 1;
    for (PlayedFrame& frame : frames) {
        if (frame.number != 0) continue;
        while (rawNumbers.count(next) != 0 || LeftOut(settings, entryShown, next)) ++next;
        frame.number = next++;
    }
}

std::vector<Source> PlayedSources(std::vector<SourceFile>& files, const PlayedOptions& options)
{
    const AnimationOutput as = options.as;
    std::vector<Source> sources;
    std::set<std::string> taken;
    for (const SourceFile& file : files) {
        const std::optional<std::string> entry = PlayedEntryOf(FileNamePart(file.path), as);
        if (!entry) continue;
        Source source{SourceKind::Frames, EntryNamed(*entry), {}, {}, {}};
        taken.insert(file.path);
        if (as == AnimationOutput::Sheet) taken.insert(file.path.substr(0, file.path.size() - 4) + ".json");
        const std::string_view stem = WithoutExtension(*entry);
        for (const SourceFile& other : files) {
            const std::string name(FileNamePart(other.path));
            if (const std::optional<FrameName> raw = RawFrameNameOf(name); raw && raw->stem == source.entryShown) {
                source.rawFrames.emplace(raw->number, other);
                taken.insert(other.path);
            } else if (const std::optional<FrameName> frame = FrameNameOf(name); frame && frame->stem == stem) {
                throw PackError(file.shown + " and " + other.shown + " would both make frames of the entry "
                                + EscapeControlBytes(source.entryShown));
            }
        }
        std::set<std::uint32_t> rawNumbers;
        for (const auto& [number, raw] : source.rawFrames) rawNumbers.insert(number);
        std::vector<PlayedFrame> frames = ReadPlayedFrames(file, options);
        NumberPlayedFrames(frames, rawNumbers, source.entryShown, options.settings);
        for (PlayedFrame& frame : frames) {
            const std::uint32_t number = frame.number;
            if (number > kMaxFrameNumber)
                throw PackError(file.shown + ": more frames than an animation is packed with here");
            SourceFile shown{file.path, file.shown + ", frame " + std::to_string(number), std::move(frame.picture),
                             nullptr};
            if (!source.frames.emplace(number, std::move(shown)).second || source.rawFrames.count(number) != 0)
                throw PackError(file.shown + ": frame " + std::to_string(number) + " is there twice");
        }
        sources.push_back(std::move(source));
    }
    std::erase_if(files, [&](const SourceFile& file) { return taken.count(file.path) != 0; });
    return sources;
}

}  // namespace orv::pack
