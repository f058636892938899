#include "pack/job/pack_folder.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <thread>

#include "engine/base/text.h"
#include "engine/format/picture_header.h"
#include "engine/read/input.h"
#include "pack/encode/animation_data.h"
#include "pack/archive/archive_file.h"
#include "pack/original/base_archive.h"
#include "pack/original/base_matcher.h"
#include "pack/plan/entry_builder.h"
#include "pack/plan/entry_name.h"
#include "pack/plan/file_entries.h"
#include "pack/plan/parallel_build.h"
#include "pack/plan/folder_sources.h"
#include "pack/files/pack_error.h"
#include "pack/played/played_sources.h"
#include "settings/settings_error.h"
#include "settings/settings_file.h"

namespace orv::pack {

namespace {

using Note = std::function<void(const std::string&)>;

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The CP932 name of the entry a source makes; PackError naming its file when there is none.
std::string StoredName(const Source& source)
{
    const std::string& file = source.FirstFile().shown;
    const std::string shown = EscapeControlBytes(source.entryShown);
    const std::optional<std::string> name = EntryNameFor(source.entryShown);
    if (!name) throw PackError(file + ": the entry name " + shown + " cannot be written in CP932");
    if (name->size() > kEntryNameBytes)
        throw PackError(file + ": the entry name " + shown + " takes " + std::to_string(name->size())
                        + " bytes in CP932; an entry name holds at most 16");
    return *name;
}

// A WebP, GIF or sprite sheet of a base's animation is no new entry: --base compares the
// numbered frames of animations, and the played file would be added beside the original.
void RefusePlayedFiles(const std::vector<SourceFile>& rest, const BaseArchive& base)
{
    for (const SourceFile& file : rest) {
        std::string name(FileNamePart(file.path));
        if (name.ends_with("_sheet.json")) name = name.substr(0, name.size() - 5) + ".png";
        for (const AnimationOutput as : {AnimationOutput::Webp, AnimationOutput::Gif, AnimationOutput::Sheet}) {
            const std::optional<std::string> played = PlayedEntryOf(name, as);
            if (!played) continue;
            for (const BaseEntry& entry : base.entries()) {
                if (entry.kind == EntryKind::Animation && WithoutExtension(entry.shown) == WithoutExtension(*played))
                    throw PackError(file.shown + " plays the base's animation " + EscapeControlBytes(entry.shown)
                                    + ", and --base compares its numbered frames: convert it with --animation "
                                    + "frames to edit it");
            }
        }
    }
}

}  // namespace

std::string ArchivePathFor(const PackOptions& options)
{
    if (!options.output.empty()) return options.output;
    const std::filesystem::path folder
        = std::filesystem::absolute(WithoutTrailingSlashes(options.folder)).lexically_normal();
    const std::filesystem::path named = folder.has_filename() ? folder : folder.parent_path();
    return (named.parent_path() / (named.filename().string() + ".dat")).string();
}

std::string PackFolder(const PackOptions& options, const Note& note)
{
    std::string output = ArchivePathFor(options);
    RefuseIrreplaceable(output);
    // Beside a folder orvconv-cli wrote lies, most often, the archive it came from.
    std::error_code error;
    if (options.output.empty()
        && std::filesystem::symlink_status(output, error).type() != std::filesystem::file_type::not_found) {
        const std::string shown = EscapeControlBytes(output);
        throw PackError(shown + " exists, and without -o orvpack replaces nothing: to build on it, type --base " + shown
                        + " -o NEW.dat; to replace it on purpose, -o " + shown);
    }

    FolderListing listing = ListFolder(options.folder, options.dereference);
    // An archive written into the folder by an earlier run is not packed into the next.
    std::erase_if(listing.files, [&](const SourceFile& file) {
        std::error_code differs;
        if (!std::filesystem::equivalent(file.path, output, differs)) return false;
        note("skipped: " + file.shown + " (the archive being written)");
        return true;
    });
    for (const std::string& name : listing.skipped)
        note("skipped: " + EscapeControlBytes(name) + " (not a regular file)");
    for (const std::string& name : listing.links)
        note("skipped: " + EscapeControlBytes(name) + " (a symbolic link; --dereference packs what it names)");
    std::shared_ptr<const SettingsFile> settings;
    if (!options.settings.empty()) {
        try {
            settings = SettingsFile::Load(options.settings);
        } catch (const SettingsError& unreadable) {
            throw PackError(unreadable.what());
        }
    }
    const PlayedOptions playedAs{options.playedAs, settings.get(), options.frameMs, note};
    EntryBuilder builder(options.quantize, note, settings.get());
    FolderFiles folder(listing.files);
    // What the archive holds is told once it is written, not before a refusal.
    std::vector<std::string> told;
    const Note tell = [&told](const std::string& text) { told.push_back(text); };
    std::vector<PlannedEntry> entries;
    std::set<std::string> names;
    // An animation file is one animation entry, named (for its settings) after the file.
    const std::string fileName = AsciiLower(FileNamePart(output));
    const bool animationFile = fileName.ends_with(".ani");
    std::unique_ptr<BaseArchive> base;
    std::unique_ptr<BaseMatcher> matcher;
    if (!options.base.empty()) {
        base = std::make_unique<BaseArchive>(options.base);
        base->SetSettings(settings);
        const std::string settingsShown
            = options.settings.empty() ? "without settings" : "with " + EscapeControlBytes(options.settings);
        matcher = std::make_unique<BaseMatcher>(*base, folder, builder, tell, settings, settingsShown, options.stop);
        matcher->ReadPlayedAs(playedAs);
        matcher->Remove(options.remove);
        entries = matcher->Entries();
        for (const PlannedEntry& entry : entries) names.insert(entry.name);
        // Nothing changed and nothing added: the original, whatever its layout.
        if (!matcher->Changed() && folder.Untaken().empty()
            && AsciiLower(options.base).ends_with(".ani") == animationFile) {
            MakeOutputFolder(output);
            CopyArchive(options.base, output, options.stop);
            for (const std::string& text : told) note(text);
            return output;
        }
    }
    std::vector<SourceFile> rest = folder.Untaken();
    std::erase_if(rest, [&](const SourceFile& file) {
        if (!IsDesktopLeftover(FileNamePart(file.path))) return false;
        note("skipped: " + file.shown + " (left by a file manager or editor; no conversion writes it)");
        return true;
    });
    if (base && options.playedAs == AnimationOutput::Frames) RefusePlayedFiles(rest, *base);
    const std::vector<Source> played = PlayedSources(rest, playedAs);
    // Entries whose name or kind is not what their file's name suggests: a line each with
    // -v, and a count.
    std::vector<std::string> guessed;
    std::vector<EntryOfFile> entriesOfFiles
        = EntriesOfFiles(rest, [&guessed](const std::string& text) { guessed.push_back(text); });
    if (animationFile) JoinCutRawFrames(rest, fileName, entriesOfFiles);
    std::vector<Source> sources = GroupFiles(rest, entriesOfFiles);
    if (options.verbose) told.insert(told.end(), guessed.begin(), guessed.end());
    if (!guessed.empty()) {
        const bool one = guessed.size() == 1;
        told.push_back(std::to_string(guessed.size()) + (one ? " entry takes" : " entries take")
                       + " another name or kind than " + (one ? "its file's" : "their files'")
                       + " name suggests, so as to convert back to the same files"
                       + (options.verbose ? "" : " (-v names them)"));
    }
    for (const Source& animation : played) {
        for (const Source& other : sources) {
            if (other.entryShown == animation.entryShown)
                throw PackError(animation.FirstFile().shown + " and " + other.FirstFile().shown
                                + " would both make the entry " + EscapeControlBytes(animation.entryShown));
        }
    }
    sources.insert(sources.end(), played.begin(), played.end());
    std::sort(sources.begin(), sources.end(),
              [](const Source& a, const Source& b) { return a.entryShown < b.entryShown; });
    if (animationFile && !base && sources.empty()) {
        // What conversion leaves of an animation that draws nothing: an empty folder.
        note(EscapeControlBytes(options.folder) + ": no files to pack; the animation draws nothing");
        MakeOutputFolder(output);
        WrittenFile({Piece::Held(BuildAnimation({{kSkippedPicture}}))}, output, options.stop).Commit();
        return output;
    }
    if (animationFile) {
        const bool one = base
            ? sources.empty() && entries.size() == 1 && base->entries()[0].kind == EntryKind::Animation
            : sources.size() == 1 && sources[0].kind == SourceKind::Frames;
        if (!one)
            throw PackError(EscapeControlBytes(options.folder) + " makes "
                            + std::to_string(entries.size() + sources.size())
                            + " entries, and an animation file holds the frames of one animation");
    }
    std::vector<std::string> sourceNames;
    for (const Source& source : sources) {
        // An animation file's entry is named by the reader after the file (its settings
        // section): the name of the file the folder was converted from.
        const std::string name = animationFile
            ? std::string(AnimationFileEntry(AsciiLower(source.entryShown), 0).Name())
            : StoredName(source);
        if (!names.insert(name).second)
            throw PackError(source.FirstFile().shown + " would make the entry " + EscapeControlBytes(source.entryShown)
                            + ", which the base archive holds already");
        if (base) tell("added: " + EscapeControlBytes(source.entryShown) + " (from " + source.FirstFile().shown + ")");
        sourceNames.push_back(name);
    }
    const unsigned threads = options.threads != 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    for (PlannedEntry& entry :
         BuildEntries(sources, sourceNames, options.quantize, settings.get(), note, options.stop, threads))
        entries.push_back(std::move(entry));
    CheckArchiveLimits(entries, EscapeControlBytes(options.folder));
    MakeOutputFolder(output);
    if (animationFile) {
        WrittenFile(entries[0].pieces, output, options.stop).Commit();
        for (const std::string& text : told) note(text);
        return output;
    }
    if (entries.empty()) note(EscapeControlBytes(options.folder) + ": no files to pack; the archive holds no entries");
    std::unique_ptr<WrittenFile> written = WriteArchiveUnplaced(entries, output, options.stop);
    // Each round makes anew at least one more entry, which then draws the same anywhere.
    while (matcher && matcher->RemakeDrawnOtherwise(written->ReadPath(), entries)) {
        CheckArchiveLimits(entries, EscapeControlBytes(options.folder));
        written.reset();
        written = WriteArchiveUnplaced(entries, output, options.stop);
    }
    written->Commit();
    for (const std::string& text : told) note(text);
    return output;
}

}  // namespace orv::pack
