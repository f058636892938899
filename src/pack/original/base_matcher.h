#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/convert/batch_options.h"
#include "pack/original/base_archive.h"
#include "pack/plan/entry_builder.h"
#include "pack/original/folder_files.h"
#include "pack/files/pack_error.h"
#include "pack/archive/planned_entry.h"
#include "pack/played/played_sources.h"

namespace orv {
class SettingsFile;
}  // namespace orv

namespace orv::pack {

// The entries of the base archive, each kept or made anew from its changed files.
class BaseMatcher {
public:
    using Note = std::function<void(const std::string&)>;

    // settingsShown tells how the frames were composed: "without settings", "with FILE".
    BaseMatcher(BaseArchive& base, FolderFiles& folder, EntryBuilder& builder, const Note& note,
                std::shared_ptr<const SettingsFile> settings, std::string settingsShown, PackStop stop);

    // Whether an entry is made anew or left out: the archive is then no copy of the base.
    bool Changed() const { return remade_ != 0 || !removed_.empty(); }

    // How the folder's animations were converted: a WebP, GIF or sheet of an animation
    // is matched against its composed frames. Numbered frames unless set.
    void ReadPlayedAs(PlayedOptions played) { played_ = std::move(played); }

    // Leaves the entries of these shown names out; their files in the folder are passed
    // over. PackError naming a name the base holds no entry of.
    void Remove(const std::vector<std::string>& shownNames);

    // The entries kept or made anew, in the base's order.
    std::vector<PlannedEntry> Entries();

    // In place of Entries, for entries planned elsewhere (orv.Writer): base entry i is at
    // at[i] of the planned entries (removed when missing), those in `replaced` made anew.
    void Planned(std::map<std::size_t, std::size_t> at, const std::set<std::size_t>& replaced);

    // Kept entries drawn otherwise in the written archive than in the original (the
    // canvas block carries what remade entries before them leave), each made anew from
    // the original's rendering and its files in the folder.
    bool RemakeDrawnOtherwise(const std::string& writtenPath, std::vector<PlannedEntry>& planned);

private:
    // The output mode of a folder holding as many .bmp as .png files, from the base's
    // pictures it holds in each format. PackError when those tie too and some picture is
    // there in both.
    OutputMode ModeOfPictures();

    PlannedEntry Match(std::size_t i, bool drawnOtherwise);

    // Animation entry i against the file that plays it: kept when it shows the frames the
    // original composes (each on the cell of the largest), else made anew from it.
    PlannedEntry MatchPlayed(std::size_t i, const SourceFile& file, PlannedEntry kept);

    // Whether another entry's file replaces entry i's file of this name.
    bool WrittenOver(const std::string& name, std::size_t i) const;

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
    // given are all what conversion without settings shows: the folder was converted so,
    // and nothing was edited. PackError when some are and others are edits, which these
    // settings would compose otherwise than the folder shows them. Without settings given,
    // every frame that differs is an edit.
    bool ComposedOtherwise(std::size_t i, const Source& source, const Differences& differences);

    // Adds one of the entry's files (from the folder, or the original's rendering where the
    // folder lacks it) to the source it is made anew from.
    static void Add(Source& source, EntryKind kind, const std::string& name, const SourceFile& file);

    // The original's rendering of a file the folder lacks: a picture's pixels, or a raw
    // frame's bytes.
    static SourceFile Held(const RenderedFile& rendered, EntryKind kind);

    // Entry i made anew, for the file `edited` (none: for the canvas); a sound keeps the
    // first bytes of its original header.
    PlannedEntry Remade(std::size_t i, const Source& source, const std::string& edited);

    BaseArchive& base_;
    FolderFiles& folder_;
    EntryBuilder& builder_;
    const Note& note_;
    std::shared_ptr<const SettingsFile> settings_;
    std::string settingsShown_;
    PlayedOptions played_;
    PackStop stop_;
    OutputMode mode_ = AllBmp;
    std::size_t remade_ = 0;
    std::size_t firstRemade_ = static_cast<std::size_t>(-1);
    std::set<std::size_t> remadeIndices_;
    std::set<std::size_t> removed_;
    // Where each entry not removed is in Entries() and so in the written archive.
    std::map<std::size_t, std::size_t> plannedAt_;
    // The entry whose file each output name holds (a later entry's file replaces an
    // earlier one's); left empty for entries planned elsewhere, which match no folder.
    std::map<std::string, std::size_t> lastWriter_;
};

}  // namespace orv::pack
