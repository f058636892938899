#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/convert/batch_options.h"
#include "engine/read/reader.h"
#include "pack/encode/picture_encoder.h"

namespace orv::pack {

// One entry of the original archive.
struct BaseEntry {
    ArchiveEntry record;  // its size cut to what the file holds
    std::string shown;  // its name as orvconv-cli shows it
    // As the reader takes it: an animation file's one entry is an animation whatever its
    // cut name ends in.
    EntryKind kind = EntryKind::Other;
};

// One file orvconv-cli writes for an entry, held in memory: a picture's pixels, or
// `head` followed by `size` bytes of the original archive from `offset` on.
struct RenderedFile {
    std::string name;
    std::shared_ptr<const Picture> picture;
    Bytes head;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// An original archive whose entries are read as orvconv-cli converts it (without settings
// unless given), in memory, the canvas block carried from entry to entry as conversion
// carries it.
class BaseArchive {
public:
    // PackError when the file cannot be read or is neither a pack archive nor, by its
    // name, an animation file (one entry).
    explicit BaseArchive(const std::string& path);
    // The file at readPath, whatever its name, taken for this kind; messages name it shownPath.
    BaseArchive(const std::string& readPath, const std::string& shownPath, InputKind kind);

    const std::string& path() const { return path_; }
    // The settings animations are composed with, as conversion with -s composes them;
    void SetSettings(std::shared_ptr<const SettingsFile> settings) { reader_.SetSettings(std::move(settings)); }
    // The frames animation entry i counts, from its table.
    std::uint32_t FrameCount(std::size_t i);
    const std::vector<BaseEntry>& entries() const { return entries_; }

    // The files orvconv-cli writes for entry i in this output mode, in the order it writes
    // them; none when conversion ends with a fatal error on it. Cheapest in entry order.
    std::vector<RenderedFile> Outputs(std::size_t i, OutputMode mode);
    // The names of those files, in that order; a picture's from its header alone, without
    // drawing it.
    std::vector<std::string> OutputNames(std::size_t i, OutputMode mode);
    // The first n bytes of entry i, fewer when it is shorter.
    Bytes Head(std::size_t i, std::uint32_t n);
    // The files orvconv-cli writes for animation entry i without settings, whatever
    // settings the others are composed with.
    std::vector<RenderedFile> FramesWithoutSettings(std::size_t i, OutputMode mode);

private:
    void RenderAnimation(Reader& reader, std::size_t i, OutputMode mode, std::vector<RenderedFile>& files);

    std::string path_;
    std::shared_ptr<const Input> input_;
    Reader reader_;
    std::unique_ptr<Reader> plain_;  // made when first asked
    std::vector<BaseEntry> entries_;
};

// Whether two renderings of an entry give the same files, ranges of their archives aside
// (which hold the same bytes wherever an entry is kept).
bool SameDrawing(const std::vector<RenderedFile>& a, const std::vector<RenderedFile>& b);

// Whether the file at path holds what the rendered file does: the same pixels for a
// picture, else the same bytes.
bool SameAsRendered(const std::string& path, const std::string& shown, const RenderedFile& rendered,
                    const std::string& basePath);

}  // namespace orv::pack
