#include "pack/original/base_matcher.h"

#include <algorithm>
#include <array>

#include "engine/base/text.h"
#include "pack/files/file_bytes.h"
#include "pack/files/picture_file.h"

namespace orv::pack {

BaseMatcher::BaseMatcher(BaseArchive& base, FolderFiles& folder, EntryBuilder& builder, const Note& note,
                         std::shared_ptr<const SettingsFile> settings, std::string settingsShown, PackStop stop) :
    base_(base),
    folder_(folder),
    builder_(builder),
    note_(note),
    settings_(std::move(settings)),
    settingsShown_(std::move(settingsShown)),
    stop_(std::move(stop))
{
    const std::size_t png = folder.CountEnding(".png");
    const std::size_t bmp = folder.CountEnding(".bmp");
    mode_ = png > bmp ? AllPng : png < bmp || png == 0 ? AllBmp : ModeOfPictures();
}

OutputMode BaseMatcher::ModeOfPictures()
{
    // Only the names of drawn pictures differ between the two modes. Files of the others,
    // raw entries named *.bmp or *.png among them, count in the folder but not here.
    std::vector<std::pair<std::string, std::string>> pictures;
    std::set<std::string> others;
    for (std::size_t i = 0; i < base_.entries().size(); ++i) {
        const std::vector<std::string> asBmp = base_.OutputNames(i, AllBmp);
        const std::vector<std::string> asPng = base_.OutputNames(i, AllPng);
        for (std::size_t k = 0; k < asBmp.size() && k < asPng.size(); ++k) {
            if (asBmp[k] == asPng[k])
                others.insert(asBmp[k]);
            else
                pictures.emplace_back(asBmp[k], asPng[k]);
        }
    }
    const auto holds
        = [&](const std::string& name) { return others.count(name) == 0 && folder_.Find(name) != nullptr; };
    std::size_t png = 0;
    std::size_t bmp = 0;
    std::string both;
    for (const auto& [asBmp, asPng] : pictures) {
        bmp += holds(asBmp) ? 1 : 0;
        png += holds(asPng) ? 1 : 0;
        if (holds(asBmp) && holds(asPng) && both.empty()) both = asBmp;
    }
    if (png != bmp) return png > bmp ? AllPng : AllBmp;
    // Which twin is the picture decides whether the other is a file of its own.
    if (!both.empty())
        throw PackError("the folder holds as many pictures of the base as .bmp as .png (" + std::to_string(bmp)
                        + " each), " + EscapeControlBytes(both)
                        + " and its .png among them: which ones are the pictures cannot be told; move the others out");
    return AllBmp;
}

std::vector<PlannedEntry> BaseMatcher::Entries()
{
    const std::vector<BaseEntry>& entries = base_.entries();
    // A name two entries write holds the later one's file.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (const std::string& name : base_.OutputNames(i, mode_)) lastWriter_[name] = i;
    }
    std::vector<PlannedEntry> planned;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        StopIfAsked(stop_);
        if (removed_.count(i) != 0) {
            for (const std::string& name : base_.OutputNames(i, mode_)) {
                if (const SourceFile* file = folder_.Find(name)) folder_.Take(*file);
            }
            continue;
        }
        plannedAt_[i] = planned.size();
        planned.push_back(Match(i, false));
    }
    return planned;
}

bool BaseMatcher::WrittenOver(const std::string& name, std::size_t i) const
{
    const auto found = lastWriter_.find(name);
    return found != lastWriter_.end() && found->second != i;
}

void BaseMatcher::Planned(std::map<std::size_t, std::size_t> at, const std::set<std::size_t>& replaced)
{
    plannedAt_ = std::move(at);
    for (std::size_t i = 0; i < base_.entries().size(); ++i) {
        if (plannedAt_.count(i) == 0) removed_.insert(i);
    }
    remadeIndices_ = replaced;
    remade_ = replaced.size();
    if (!removed_.empty()) firstRemade_ = std::min(firstRemade_, *removed_.begin());
    if (!replaced.empty()) firstRemade_ = std::min(firstRemade_, *replaced.begin());
}

void BaseMatcher::Remove(const std::vector<std::string>& shownNames)
{
    for (const std::string& name : shownNames) {
        const std::vector<BaseEntry>& entries = base_.entries();
        const auto found
            = std::find_if(entries.begin(), entries.end(), [&](const BaseEntry& entry) { return entry.shown == name; });
        if (found == entries.end())
            throw PackError("--remove " + EscapeControlBytes(name) + ": " + EscapeControlBytes(base_.path())
                            + " holds no entry of that name");
        const auto i = static_cast<std::size_t>(found - entries.begin());
        removed_.insert(i);
        // The entries after it may find another canvas.
        firstRemade_ = std::min(firstRemade_, i);
        note_("removed: " + EscapeControlBytes(name));
    }
}

bool BaseMatcher::RemakeDrawnOtherwise(const std::string& writtenPath, std::vector<PlannedEntry>& planned)
{
    if (firstRemade_ + 1 >= base_.entries().size()) return false;
    BaseArchive written(writtenPath, base_.path(), InputKind::Archive);
    written.SetSettings(settings_);
    bool any = false;
    for (std::size_t i = firstRemade_ + 1; i < base_.entries().size(); ++i) {
        // Only an animation can show what the entries before it left in the canvas: a
        // picture is drawn on a cleared one, and other entries draw nothing.
        if (remadeIndices_.count(i) != 0 || removed_.count(i) != 0 || base_.entries()[i].kind != EntryKind::Animation)
            continue;
        StopIfAsked(stop_);
        if (SameDrawing(written.Outputs(plannedAt_.at(i), mode_), base_.Outputs(i, mode_))) continue;
        PlannedEntry remade = Match(i, true);
        // An animation the folder holds whole (--ani-raw) is copied, not drawn.
        if (remadeIndices_.count(i) == 0) continue;
        planned[plannedAt_.at(i)] = std::move(remade);
        any = true;
    }
    return any;
}

PlannedEntry BaseMatcher::Match(std::size_t i, bool drawnOtherwise)
{
    const BaseEntry& entry = base_.entries()[i];
    // A record that starts past the end of the file reads as empty, and stays so.
    PlannedEntry kept{std::string(entry.record.Name()),
                      EscapeControlBytes(base_.path()),
                      {entry.record.size == 0 ? Piece::Held({})
                                              : Piece::FromFile(base_.path(), entry.record.offset, entry.record.size)}};
    const EntryKind kind = entry.kind;
    if (kind == EntryKind::Animation) {
        // Written whole with --ani-raw.
        if (const SourceFile* raw = folder_.Find(entry.shown)) {
            folder_.Take(*raw);
            if (SameAsRange(raw->path, base_.path(), entry.record.offset, entry.record.size)) return kept;
            return Remade(i, {SourceKind::Raw, entry.shown, *raw, {}, {}}, raw->shown);
        }
    }
    if (kind == EntryKind::Animation && !drawnOtherwise && played_.as != AnimationOutput::Frames) {
        const std::string name
            = std::string(WithoutExtension(entry.shown)) + std::string(AnimationFileEnding(played_.as));
        if (const SourceFile* played = folder_.Find(name)) return MatchPlayed(i, *played, std::move(kept));
    }
    // A picture none of whose files the folder holds is kept without drawing it.
    if (kind == EntryKind::Picture && !drawnOtherwise) {
        const std::vector<std::string> names = base_.OutputNames(i, mode_);
        if (std::none_of(names.begin(), names.end(), [&](const std::string& name) {
                return !WrittenOver(name, i) && folder_.FindPicture(name) != nullptr;
            }))
            return kept;
    }
    Source source{SourceKind::Raw, entry.shown, {}, {}, {}};
    std::string edited;  // the first file found changed
    Differences differences;
    for (const RenderedFile& rendered : base_.Outputs(i, mode_)) {
        const std::string& name = rendered.name;
        if (WrittenOver(name, i)) continue;
        const SourceFile* file = rendered.picture ? folder_.FindPicture(name) : folder_.Find(name);
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

namespace {

// The picture at the top left of a cell of width x height, the rest black, as a played
// file shows each frame.
Picture OnCell(const Picture& picture, std::uint16_t width, std::uint16_t height)
{
    Picture cell;
    cell.width = width;
    cell.height = height;
    cell.bgr.assign(std::size_t{width} * height * 3, 0);
    for (std::size_t y = 0; y < picture.height; ++y)
        std::copy_n(&picture.bgr[y * picture.width * 3], std::size_t{picture.width} * 3, &cell.bgr[y * width * 3]);
    return cell;
}

}  // namespace

PlannedEntry BaseMatcher::MatchPlayed(std::size_t i, const SourceFile& file, PlannedEntry kept)
{
    const BaseEntry& entry = base_.entries()[i];
    folder_.Take(file);
    if (played_.as == AnimationOutput::Sheet) {
        if (const SourceFile* index = folder_.Find(std::string(WithoutExtension(entry.shown)) + "_sheet.json"))
            folder_.Take(*index);
    }
    Source source{SourceKind::Frames, entry.shown, {}, {}, {}};
    source.frameCount = base_.FrameCount(i);
    std::vector<std::pair<std::uint32_t, std::shared_ptr<const Picture>>> shown;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::string edited;
    for (const RenderedFile& rendered : base_.Outputs(i, mode_)) {
        if (const std::optional<FrameName> frame = FrameNameOf(rendered.name); frame && rendered.picture) {
            shown.emplace_back(frame->number, rendered.picture);
            width = std::max(width, rendered.picture->width);
            height = std::max(height, rendered.picture->height);
        } else if (const std::optional<FrameName> raw = NumberedNameOf(rendered.name)) {
            const SourceFile* folderFile = folder_.Find(rendered.name);
            if (folderFile != nullptr) {
                folder_.Take(*folderFile);
                if (!SameAsRendered(folderFile->path, folderFile->shown, rendered, base_.path()) && edited.empty())
                    edited = folderFile->shown;
            }
            source.rawFrames.emplace(raw->number, folderFile != nullptr ? *folderFile : Held(rendered, entry.kind));
        }
    }
    std::vector<PlayedFrame> frames = ReadPlayedFrames(file, played_);
    // The frames the original shows, in order, where the file holds as many.
    if (frames.size() == shown.size()) {
        for (std::size_t k = 0; k < frames.size(); ++k) {
            if (frames[k].number == 0) frames[k].number = shown[k].first;
        }
    }
    std::set<std::uint32_t> rawNumbers;
    for (const auto& [number, raw] : source.rawFrames) rawNumbers.insert(number);
    NumberPlayedFrames(frames, rawNumbers, entry.shown, settings_.get());
    bool same = frames.size() == shown.size();
    for (std::size_t k = 0; k < frames.size(); ++k) {
        const Picture& picture = *frames[k].picture;
        if (same) {
            // A sheet cuts each frame at its own size; WebP and GIF show it on the cell.
            const Picture expected
                = played_.as == AnimationOutput::Sheet ? *shown[k].second : OnCell(*shown[k].second, width, height);
            same = frames[k].number == shown[k].first && picture.width == expected.width
                && picture.height == expected.height && picture.bgr == expected.bgr;
        }
        const std::uint32_t number = frames[k].number;
        SourceFile frameFile{file.path, file.shown + ", frame " + std::to_string(number), frames[k].picture, nullptr};
        if (number > kMaxFrameNumber || source.rawFrames.count(number) != 0
            || !source.frames.emplace(number, std::move(frameFile)).second)
            throw PackError(file.shown + ": frame " + std::to_string(number) + " is there twice");
    }
    if (same && edited.empty()) return kept;
    return Remade(i, source, edited.empty() ? file.shown : edited);
}

bool BaseMatcher::ComposedOtherwise(std::size_t i, const Source& source, const Differences& differences)
{
    // Without settings named, only an edit makes a frame differ.
    if (!settings_) return false;
    std::map<std::uint32_t, std::shared_ptr<const Picture>> plain;
    for (const RenderedFile& rendered : base_.FramesWithoutSettings(i, mode_)) {
        if (const std::optional<FrameName> frame = FrameNameOf(rendered.name); frame && rendered.picture)
            plain[frame->number] = rendered.picture;
    }
    std::size_t explained = 0;
    std::string unexplained;
    for (const auto& [number, file] : source.frames) {
        if (differences.frames.count(number) == 0) continue;
        const Picture picture = file.pixels ? *file.pixels : ReadPictureFile(file.path, file.shown);
        const auto found = plain.find(number);
        if (found != plain.end() && found->second->width == picture.width && found->second->height == picture.height
            && found->second->bgr == picture.bgr)
            ++explained;
        else if (unexplained.empty())
            unexplained = file.shown;
    }
    if (explained == 0) return false;
    const std::string entry = EscapeControlBytes(source.entryShown);
    if (unexplained.empty() && !differences.others) {
        note_("kept: " + entry + " as the original has it: its frames differ from it " + settingsShown_
              + " but match it without settings (-s names the settings the folder was converted with)");
        return true;
    }
    throw PackError((unexplained.empty() ? entry : unexplained) + " is edited, but other frames of " + entry
                    + " differ from the original " + settingsShown_
                    + " and match it without settings; -s names the settings the folder was converted with");
}

void BaseMatcher::Add(Source& source, EntryKind kind, const std::string& name, const SourceFile& file)
{
    if (kind == EntryKind::Animation) {
        source.kind = SourceKind::Frames;
        if (const std::optional<FrameName> frame = FrameNameOf(name))
            source.frames.emplace(frame->number, file);
        else if (const std::optional<FrameName> raw = NumberedNameOf(name))
            source.rawFrames.emplace(raw->number, file);
        return;
    }
    const bool picture = kind == EntryKind::Picture && !PictureTwin(name).empty();
    source.kind = picture ? SourceKind::Picture : kind == EntryKind::Sound ? SourceKind::Sound : SourceKind::Raw;
    source.file = file;
}

SourceFile BaseMatcher::Held(const RenderedFile& rendered, EntryKind kind)
{
    if (kind != EntryKind::Animation || rendered.picture) return {{}, rendered.name, rendered.picture, nullptr};
    return {{}, rendered.name, nullptr, std::make_shared<const Bytes>(rendered.head)};
}

PlannedEntry BaseMatcher::Remade(std::size_t i, const Source& source, const std::string& edited)
{
    const BaseEntry& entry = base_.entries()[i];
    ++remade_;
    firstRemade_ = std::min(firstRemade_, i);
    remadeIndices_.insert(i);
    std::array<std::uint8_t, 3> lead{};
    const Bytes head = base_.Head(i, lead.size());
    std::copy(head.begin(), head.end(), lead.begin());
    if (!edited.empty()) note_("changed: " + EscapeControlBytes(entry.shown) + " (from " + edited + ")");
    return builder_.Build(source, std::string(entry.record.Name()), lead, stop_);
}

}  // namespace orv::pack
