#include "pack/pack_folder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <system_error>
#include <thread>

#include "engine/base/text.h"
#include "pack/archive_file.h"
#include "pack/base_archive.h"
#include "pack/entry_builder.h"
#include "pack/entry_name.h"
#include "pack/file_bytes.h"
#include "pack/file_entries.h"
#include "pack/parallel_build.h"
#include "pack/folder_sources.h"
#include "pack/pack_error.h"
#include "pack/played_sources.h"
#include "pack/picture_file.h"
#include "settings/settings_error.h"
#include "settings/settings_file.h"

namespace orv::pack {

namespace {

using Note = std::function<void(const std::string&)>;

std::string TypeName(std::filesystem::file_type type)
{
    switch (type) {
    case std::filesystem::file_type::directory: return "a folder";
    case std::filesystem::file_type::symlink: return "a symbolic link";
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character: return "a device";
    case std::filesystem::file_type::fifo: return "a FIFO";
    case std::filesystem::file_type::socket: return "a socket";
    default: return "not a regular file";
    }
}

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

std::string PictureTwin(const std::string& name)
{
    const std::string stem = name.substr(0, name.size() - 4);
    return name.ends_with(".bmp") ? stem + ".png" : name.ends_with(".png") ? stem + ".bmp" : std::string();
}

// The folder's files by name, and which of them an entry has taken.
class FolderFiles {
public:
    explicit FolderFiles(const std::vector<SourceFile>& files)
    {
        for (const SourceFile& file : files) byName_.emplace(FileNamePart(file.path), file);
    }

    // The file by this name, or for a picture the one of the other picture format.
    const SourceFile* Find(const std::string& name) const
    {
        auto found = byName_.find(name);
        if (found == byName_.end() && !PictureTwin(name).empty()) found = byName_.find(PictureTwin(name));
        return found == byName_.end() ? nullptr : &found->second;
    }

    void Take(const SourceFile& file) { taken_.insert(file.path); }

    // Frames of the animation entry that no output name accounts for: pictures named
    // after its stem, raw frames after its whole name.
    struct ExtraFrame {
        std::uint32_t number;
        bool raw;
        const SourceFile* file;
    };
    std::vector<ExtraFrame> FramesOf(const std::string& entryShown) const
    {
        const std::string_view stem = WithoutExtension(entryShown);
        std::vector<ExtraFrame> frames;
        for (const auto& [name, file] : byName_) {
            if (taken_.count(file.path) != 0) continue;
            if (const std::optional<FrameName> frame = FrameNameOf(name); frame && frame->stem == stem)
                frames.push_back({frame->number, false, &file});
            else if (const std::optional<FrameName> raw = RawFrameNameOf(name); raw && raw->stem == entryShown)
                frames.push_back({raw->number, true, &file});
        }
        return frames;
    }

    std::vector<SourceFile> Untaken() const
    {
        std::vector<SourceFile> rest;
        for (const auto& [name, file] : byName_) {
            if (taken_.count(file.path) == 0) rest.push_back(file);
        }
        return rest;
    }

    std::size_t CountEnding(std::string_view end) const
    {
        std::size_t count = 0;
        for (const auto& [name, file] : byName_) count += name.ends_with(end) ? 1 : 0;
        return count;
    }

private:
    std::map<std::string, SourceFile> byName_;
    std::set<std::string> taken_;
};

// The entries of the base archive, each kept or made anew from its changed files.
class BaseMatcher {
public:
    // settingsShown tells how the frames were composed: "without settings", "with FILE".
    BaseMatcher(BaseArchive& base, FolderFiles& folder, EntryBuilder& builder, const Note& note,
                const SettingsFile* settings, std::string settingsShown, PackStop stop) :
        base_(base),
        folder_(folder),
        builder_(builder),
        note_(note),
        settings_(settings),
        settingsShown_(std::move(settingsShown)),
        stop_(std::move(stop))
    {
        mode_ = folder.CountEnding(".png") > folder.CountEnding(".bmp") ? AllPng : AllBmp;
    }

    std::size_t remade() const { return remade_; }

    std::vector<PlannedEntry> Entries()
    {
        const std::vector<BaseEntry>& entries = base_.entries();
        // A name two entries write holds the later one's file.
        for (std::size_t i = 0; i < entries.size(); ++i) {
            for (const RenderedFile& file : base_.Outputs(i, mode_)) lastWriter_[file.name] = i;
        }
        std::vector<PlannedEntry> planned;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            StopIfAsked(stop_);
            planned.push_back(Match(i, false));
        }
        return planned;
    }

    // Kept entries drawn otherwise in the written archive than in the original (the
    // canvas block carries what remade entries before them leave), each made anew from
    // the original's rendering and its files in the folder.
    bool RemakeDrawnOtherwise(const std::string& writtenPath, std::vector<PlannedEntry>& planned)
    {
        if (firstRemade_ + 1 >= base_.entries().size()) return false;
        BaseArchive written(writtenPath, base_.path(), InputKind::Archive);
        written.SetSettings(settings_);
        bool any = false;
        for (std::size_t i = firstRemade_ + 1; i < base_.entries().size(); ++i) {
            if (remadeIndices_.count(i) != 0) continue;
            StopIfAsked(stop_);
            if (SameDrawing(written.Outputs(i, mode_), base_.Outputs(i, mode_))) continue;
            PlannedEntry remade = Match(i, true);
            // An animation the folder holds whole (--ani-raw) is copied, not drawn.
            if (remadeIndices_.count(i) == 0) continue;
            planned[i] = std::move(remade);
            any = true;
        }
        return any;
    }

private:
    PlannedEntry Match(std::size_t i, bool drawnOtherwise)
    {
        const BaseEntry& entry = base_.entries()[i];
        // A record that starts past the end of the file reads as empty, and stays so.
        PlannedEntry kept{std::string(entry.record.Name()),
                          EscapeControlBytes(base_.path()),
                          {entry.record.size == 0
                               ? Piece::Held({})
                               : Piece::FromFile(base_.path(), entry.record.offset, entry.record.size)}};
        const EntryKind kind = KindOf(entry.record);
        if (kind == EntryKind::Animation) {
            // Written whole with --ani-raw.
            if (const SourceFile* raw = folder_.Find(entry.shown)) {
                folder_.Take(*raw);
                if (SameAsRange(raw->path, base_.path(), entry.record.offset, entry.record.size)) return kept;
                return Remade(i, {SourceKind::Raw, entry.shown, *raw, {}, {}}, raw->shown);
            }
        }
        Source source{SourceKind::Raw, entry.shown, {}, {}, {}};
        std::string edited;  // the first file found changed
        Differences differences;
        for (const RenderedFile& rendered : base_.Outputs(i, mode_)) {
            const std::string& name = rendered.name;
            if (lastWriter_.at(name) != i) continue;
            const SourceFile* file = folder_.Find(name);
            const SourceFile& from = file != nullptr ? *file : Held(rendered, kind);
            if (file != nullptr) {
                folder_.Take(*file);
                if (!SameAsRendered(file->path, file->shown, rendered, base_.path())) {
                    if (edited.empty()) edited = file->shown;
                    differences.Add(FrameNameOf(name));
                }
            }
            Add(source, kind, name, from);
        }
        if (kind == EntryKind::Animation) {
            source.frameCount = base_.FrameCount(i);
            for (const FolderFiles::ExtraFrame& extra : folder_.FramesOf(entry.shown)) {
                folder_.Take(*extra.file);
                if (edited.empty()) edited = extra.file->shown;
                differences.Add(extra.raw ? std::nullopt : std::optional<FrameName>({{}, extra.number}));
                source.kind = SourceKind::Frames;
                (extra.raw ? source.rawFrames : source.frames)[extra.number] = *extra.file;
            }
        }
        if (drawnOtherwise) {
            note_("remade: " + EscapeControlBytes(entry.shown) + ", as the entries before it now leave another canvas");
            return Remade(i, source, {});
        }
        if (edited.empty()) return kept;
        if (kind == EntryKind::Animation && ComposedOtherwise(i, source, differences)) return kept;
        return Remade(i, source, edited);
    }

    // The files of an entry that differ from the original's rendering: picture frames by
    // number, and whether any other file does.
    struct Differences {
        std::set<std::uint32_t> frames;
        bool others = false;

        void Add(const std::optional<FrameName>& frame)
        {
            if (frame) frames.insert(frame->number);
            others = others || !frame;
        }
    };

    // Whether the animation's frames that differ from the original under the settings
    // given are all what other settings compose from it: the folder was converted with
    // those, and nothing was edited. PackError when some are and others are edits, which
    // these settings would compose otherwise than the folder shows them.
    bool ComposedOtherwise(std::size_t i, const Source& source, const Differences& differences)
    {
        const FrameCompositions compositions = base_.Compositions(i);
        const auto pixels = [](const SourceFile& file) {
            return file.pixels ? *file.pixels : ReadPictureFile(file.path, file.shown);
        };
        const auto explains = [&](std::uint32_t number, const Picture& picture, const SourceFile* before) {
            if (before == nullptr) return compositions.Explains(number, picture, nullptr);
            const Picture under = pixels(*before);
            return compositions.Explains(number, picture, &under);
        };
        std::size_t explained = 0;
        std::string unexplained;
        // The frame before as the original shows it where the folder lacks it (left out
        // by the folder's settings, perhaps), and the one before that the folder holds.
        const SourceFile* previous = nullptr;
        const SourceFile* previousInFolder = nullptr;
        for (const auto& [number, file] : source.frames) {
            if (differences.frames.count(number) != 0) {
                const Picture picture = pixels(file);
                if (explains(number, picture, previous)
                    || (previousInFolder != previous && explains(number, picture, previousInFolder)))
                    ++explained;
                else if (unexplained.empty())
                    unexplained = file.shown;
            }
            previous = &file;
            if (!file.path.empty()) previousInFolder = &file;
        }
        if (explained == 0) return false;
        const std::string entry = EscapeControlBytes(source.entryShown);
        if (unexplained.empty() && !differences.others) {
            note_("kept: " + entry + " as the original has it: its frames differ from it " + settingsShown_
                  + " but match it under other settings (-s names the settings the folder was converted with)");
            return true;
        }
        throw PackError((unexplained.empty() ? entry : unexplained) + " is edited, but other frames of " + entry
                        + " differ from the original " + settingsShown_
                        + " and match it under other settings; -s names the settings the folder was converted with");
    }

    // Adds one of the entry's files (from the folder, or the original's rendering where the
    // folder lacks it) to the source it is made anew from.
    static void Add(Source& source, EntryKind kind, const std::string& name, const SourceFile& file)
    {
        if (kind == EntryKind::Animation) {
            source.kind = SourceKind::Frames;
            if (const std::optional<FrameName> frame = FrameNameOf(name))
                source.frames.emplace(frame->number, file);
            else if (const std::optional<FrameName> raw = RawFrameNameOf(name))
                source.rawFrames.emplace(raw->number, file);
            return;
        }
        const bool picture = kind == EntryKind::Image && !PictureTwin(name).empty();
        source.kind = picture ? SourceKind::Picture : kind == EntryKind::Sound ? SourceKind::Sound : SourceKind::Raw;
        source.file = file;
    }

    // The original's rendering of a file the folder lacks: a picture's pixels, or a raw
    // frame's bytes.
    static SourceFile Held(const RenderedFile& rendered, EntryKind kind)
    {
        if (kind != EntryKind::Animation || rendered.picture) return {{}, rendered.name, rendered.picture, nullptr};
        return {{}, rendered.name, nullptr, std::make_shared<const Bytes>(rendered.head)};
    }

    // Entry i made anew, for the file `edited` (none: for the canvas); a sound keeps the
    // first bytes of its original header.
    PlannedEntry Remade(std::size_t i, const Source& source, const std::string& edited)
    {
        const BaseEntry& entry = base_.entries()[i];
        ++remade_;
        firstRemade_ = std::min(firstRemade_, i);
        remadeIndices_.insert(i);
        std::array<std::uint8_t, 3> lead{};
        const Bytes head = base_.Head(i, lead.size());
        std::copy(head.begin(), head.end(), lead.begin());
        if (!edited.empty()) note_("changed: " + EscapeControlBytes(entry.shown) + " (from " + edited + ")");
        return builder_.Build(source, std::string(entry.record.Name()), lead);
    }

    BaseArchive& base_;
    FolderFiles& folder_;
    EntryBuilder& builder_;
    const Note& note_;
    const SettingsFile* settings_;
    std::string settingsShown_;
    PackStop stop_;
    OutputMode mode_ = AllBmp;
    std::size_t remade_ = 0;
    std::size_t firstRemade_ = static_cast<std::size_t>(-1);
    std::set<std::size_t> remadeIndices_;
    std::map<std::string, std::size_t> lastWriter_;
};

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
    // Beside a folder orvconv-cli wrote lies, most often, the archive it came from.
    std::error_code error;
    const std::filesystem::file_type present = std::filesystem::symlink_status(output, error).type();
    if (present != std::filesystem::file_type::not_found && present != std::filesystem::file_type::none
        && present != std::filesystem::file_type::regular)
        throw PackError(EscapeControlBytes(output) + " is " + TypeName(present)
                        + "; orvpack replaces nothing but a regular file");
    if (options.output.empty() && present != std::filesystem::file_type::not_found) {
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
    if (!options.base.empty() && options.playedAs != PlayedAs::Frames)
        throw PackError("--base compares numbered frames with the original; --animation reads other files back "
                        "only without it");
    const std::vector<Source> played = PlayedSources(listing.files, options.playedAs);
    std::unique_ptr<SettingsFile> settings;
    if (!options.settings.empty()) {
        try {
            settings = SettingsFile::Load(options.settings);
        } catch (const SettingsError& unreadable) {
            throw PackError(unreadable.what());
        }
    }
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
        base->SetSettings(settings.get());
        const std::string settingsShown
            = options.settings.empty() ? "without settings" : "with " + EscapeControlBytes(options.settings);
        matcher
            = std::make_unique<BaseMatcher>(*base, folder, builder, tell, settings.get(), settingsShown, options.stop);
        entries = matcher->Entries();
        for (const PlannedEntry& entry : entries) names.insert(entry.name);
        // Nothing changed and nothing added: the original, whatever its layout.
        if (matcher->remade() == 0 && folder.Untaken().empty()
            && AsciiLower(options.base).ends_with(".ani") == animationFile) {
            CopyArchive(options.base, output, options.stop);
            for (const std::string& text : told) note(text);
            return output;
        }
    }
    const std::vector<SourceFile> rest = folder.Untaken();
    // Entries whose name or kind is not what their file's name suggests: a line each with
    // -v, and a count.
    std::vector<std::string> guessed;
    std::vector<Source> sources
        = GroupFiles(rest, EntriesOfFiles(rest, [&guessed](const std::string& text) { guessed.push_back(text); }));
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
    if (animationFile) {
        const bool one = base
            ? sources.empty() && entries.size() == 1 && KindOf(base->entries()[0].record) == EntryKind::Animation
            : sources.size() == 1 && sources[0].kind == SourceKind::Frames;
        if (!one)
            throw PackError(EscapeControlBytes(options.folder) + " makes "
                            + std::to_string(entries.size() + sources.size())
                            + " entries, and an animation file holds the frames of one animation");
    }
    std::vector<std::string> sourceNames;
    for (const Source& source : sources) {
        const std::string name
            = animationFile ? std::string(AnimationFileEntry(fileName, 0).Name()) : StoredName(source);
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
