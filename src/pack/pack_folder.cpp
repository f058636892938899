#include "pack/pack_folder.h"

#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "engine/base/text.h"
#include "pack/archive_file.h"
#include "pack/base_archive.h"
#include "pack/entry_builder.h"
#include "pack/entry_name.h"
#include "pack/file_bytes.h"
#include "pack/folder_sources.h"
#include "pack/pack_error.h"
#include "pack/picture_file.h"

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

    // Frames of the animation with this stem that no output name accounts for.
    std::vector<std::pair<std::uint32_t, const SourceFile*>> FramesOf(const std::string& stem) const
    {
        std::vector<std::pair<std::uint32_t, const SourceFile*>> frames;
        for (const auto& [name, file] : byName_) {
            const std::optional<FrameName> frame = FrameNameOf(name);
            if (frame && frame->stem == stem && taken_.count(file.path) == 0) frames.emplace_back(frame->number, &file);
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
    BaseMatcher(BaseArchive& base, FolderFiles& folder, EntryBuilder& builder, const Note& note) :
        base_(base), folder_(folder), builder_(builder), note_(note)
    {
        mode_ = folder.CountEnding(".png") > folder.CountEnding(".bmp") ? AllPng : AllBmp;
    }

    std::size_t remade() const { return remade_; }

    std::vector<PlannedEntry> Entries()
    {
        const std::vector<BaseEntry>& entries = base_.entries();
        // A name two entries write holds the later one's file.
        std::map<std::string, std::size_t> lastWriter;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            for (const RenderedFile& file : base_.Outputs(i, mode_)) lastWriter[file.name] = i;
        }
        std::vector<PlannedEntry> planned;
        for (std::size_t i = 0; i < entries.size(); ++i) planned.push_back(Match(i, lastWriter));
        return planned;
    }

private:
    PlannedEntry Match(std::size_t i, const std::map<std::string, std::size_t>& lastWriter)
    {
        const BaseEntry& entry = base_.entries()[i];
        PlannedEntry kept{std::string(entry.record.Name()),
                          EscapeControlBytes(base_.path()),
                          {Piece::FromFile(base_.path(), entry.record.offset, entry.record.size)}};
        const EntryKind kind = KindOf(entry.record);
        if (kind == EntryKind::Animation) {
            // Written whole with --ani-raw.
            if (const SourceFile* raw = folder_.Find(entry.shown)) {
                folder_.Take(*raw);
                if (SameAsRange(raw->path, base_.path(), entry.record.offset, entry.record.size)) return kept;
                return Remade(i, {SourceKind::Raw, entry.shown, *raw, {}});
            }
        }
        Source source{SourceKind::Raw, entry.shown, {}, {}};
        bool changed = false;
        bool present = false;
        for (const RenderedFile& rendered : base_.Outputs(i, mode_)) {
            const std::string& name = rendered.name;
            if (lastWriter.at(name) != i) continue;
            const SourceFile* file = folder_.Find(name);
            const SourceFile& from = file != nullptr ? *file : SourceFile{{}, name, rendered.picture};
            if (file != nullptr) {
                folder_.Take(*file);
                present = true;
                changed = changed || !SameAsRendered(file->path, file->shown, rendered, base_.path());
            }
            Add(source, kind, name, from);
        }
        if (kind == EntryKind::Animation) {
            for (const auto& [number, file] : folder_.FramesOf(std::string(WithoutExtension(entry.shown)))) {
                folder_.Take(*file);
                present = changed = true;
                source.kind = SourceKind::Frames;
                source.frames[number] = *file;
            }
        }
        if (!present || !changed) return kept;
        return Remade(i, source);
    }

    // Adds one of the entry's files (from the folder, or the original's rendering where the
    // folder lacks it) to the source it is made anew from.
    static void Add(Source& source, EntryKind kind, const std::string& name, const SourceFile& file)
    {
        if (kind == EntryKind::Animation) {
            const std::optional<FrameName> frame = FrameNameOf(name);
            if (!frame) return;
            source.kind = SourceKind::Frames;
            source.frames.emplace(frame->number, file);
            return;
        }
        const bool picture = kind == EntryKind::Image && !PictureTwin(name).empty();
        source.kind = picture ? SourceKind::Picture : kind == EntryKind::Sound ? SourceKind::Sound : SourceKind::Raw;
        source.file = file;
    }

    // Entry i made anew; a sound keeps the first bytes of its original header.
    PlannedEntry Remade(std::size_t i, const Source& source)
    {
        const BaseEntry& entry = base_.entries()[i];
        ++remade_;
        std::array<std::uint8_t, 3> lead{};
        const Bytes head = base_.Head(i, lead.size());
        std::copy(head.begin(), head.end(), lead.begin());
        note_("changed: " + EscapeControlBytes(entry.shown) + " (from " + source.FirstFile().shown + ")");
        return builder_.Build(source, std::string(entry.record.Name()), lead);
    }

    BaseArchive& base_;
    FolderFiles& folder_;
    EntryBuilder& builder_;
    const Note& note_;
    OutputMode mode_ = AllBmp;
    std::size_t remade_ = 0;
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
    std::error_code error;
    if (!options.base.empty() && options.output.empty() && std::filesystem::equivalent(output, options.base, error))
        throw PackError(EscapeControlBytes(output) + " is the base archive: name it with -o to replace it");

    const FolderListing listing = ListFolder(options.folder);
    for (const std::string& name : listing.skipped)
        note("skipped: " + EscapeControlBytes(name) + " (not a regular file)");
    EntryBuilder builder(options.quantize, note);
    FolderFiles folder(listing.files);
    std::vector<PlannedEntry> entries;
    std::set<std::string> names;
    std::unique_ptr<BaseArchive> base;
    if (!options.base.empty()) {
        base = std::make_unique<BaseArchive>(options.base);
        BaseMatcher matcher(*base, folder, builder, note);
        entries = matcher.Entries();
        for (const PlannedEntry& entry : entries) names.insert(entry.name);
        // Nothing changed and nothing added: the original, whatever its layout.
        if (matcher.remade() == 0 && folder.Untaken().empty()) {
            CopyArchive(options.base, output);
            return output;
        }
    }
    for (const Source& source : GroupFiles(folder.Untaken())) {
        const std::string name = StoredName(source);
        if (!names.insert(name).second)
            throw PackError(source.FirstFile().shown + " would make the entry " + EscapeControlBytes(source.entryShown)
                            + ", which the base archive holds already");
        if (base) note("added: " + EscapeControlBytes(source.entryShown) + " (from " + source.FirstFile().shown + ")");
        entries.push_back(builder.Build(source, name));
    }
    CheckArchiveLimits(entries, EscapeControlBytes(options.folder));
    WriteArchive(entries, output);
    return output;
}

}  // namespace orv::pack
