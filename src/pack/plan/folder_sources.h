#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pack/encode/picture_encoder.h"

namespace orv::pack {

// A file an entry is made from: where it is, and how messages name it; or, where the
// folder lacks the file, a picture or a raw frame held in memory as the original
// archive shows it.
struct SourceFile {
    std::string path;
    std::string shown;
    std::shared_ptr<const Picture> pixels;
    std::shared_ptr<const Bytes> bytes;
};

enum class SourceKind { Picture, Sound, Frames, Raw };

// The files that make one entry, and the entry's name as orvconv-cli shows it.
struct Source {
    SourceKind kind = SourceKind::Raw;
    std::string entryShown;
    SourceFile file;  // Picture, Sound, Raw
    std::map<std::uint32_t, SourceFile> frames;  // Frames: pictures by frame number, from 1
    std::map<std::uint32_t, SourceFile> rawFrames;  // Frames: frames copied as they are
    std::uint32_t frameCount = 0;  // Frames: at least this many, as the original has

    const SourceFile& FirstFile() const;
};

// The highest frame number taken from a file; each frame below it costs table space.
inline constexpr std::uint32_t kMaxFrameNumber = 1u << 20;

// A frame's file name as orvconv-cli writes it: stem, "_", the number (from 1) in at
// least four digits, ".bmp" or ".png".
struct FrameName {
    std::string stem;
    std::uint32_t number = 0;
};
std::optional<FrameName> FrameNameOf(std::string_view fileName);
// stem_NNNN, the number written as above.
std::optional<FrameName> NumberedNameOf(std::string_view fileName);
// A raw frame's file name: the animation's entry name (ending in "ani"), "_", the number
// as above; the stem is the entry name.
std::optional<FrameName> RawFrameNameOf(std::string_view fileName);

// The regular files of a folder, sorted by name, with the names of what is left out:
// other kinds of files, what killed orvconv runs left, and symbolic links unless they are
// followed (a folder received from elsewhere may link to any file of the machine).
struct FolderListing {
    std::vector<SourceFile> files;
    std::vector<std::string> skipped;
    std::vector<std::string> links;
};
FolderListing ListFolder(const std::string& folder, bool followLinks);

// Whether the name is one that file managers and editors leave in folders (.DS_Store,
// desktop.ini, backups ending in "~"): no conversion writes it.
bool IsDesktopLeftover(std::string_view fileName);

// The entry a file makes: NAME.bmp and NAME.png a picture NAME.cg, NAME.wav a sound
// NAME.pcm, numbered frames NAME_0001.bmp... and raw frames NAME.ani_0001 an animation
// NAME.ani, anything else an entry of its own name.
struct EntryOfFile {
    SourceKind kind;
    std::string entryShown;
    std::uint32_t frame = 0;  // Frames only
    bool rawFrame = false;
};
EntryOfFile EntryOf(std::string_view fileName);

// The files grouped into the entries given for them (one each, in order), in the order of
// the entries' shown names. PackError naming both files when two would make the same entry.
std::vector<Source> GroupFiles(const std::vector<SourceFile>& files, const std::vector<EntryOfFile>& entries);

}  // namespace orv::pack
