#include "pack/plan/entry_builder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/format/picture_header.h"
#include "engine/read/image_decoder.h"
#include "pack/encode/animation_data.h"
#include "pack/archive/archive_layout.h"
#include "pack/files/file_bytes.h"
#include "pack/files/pack_error.h"
#include "pack/encode/picture_encoder.h"
#include "pack/files/picture_file.h"
#include "pack/encode/quantize.h"
#include "pack/encode/sound_entry.h"
#include "pack/files/wave_file.h"
#include "settings/settings_file.h"

namespace orv::pack {

PlannedEntry EntryBuilder::Build(const Source& source, const std::string& name, const std::array<std::uint8_t, 3>& lead,
                                 const PackStop& stop)
{
    PlannedEntry entry{name, source.FirstFile().shown, {}};
    switch (source.kind) {
    case SourceKind::Picture: {
        Picture canvas;
        entry.pieces.push_back(Piece::Held(PictureEntry(source.file, Under::Cleared, canvas)));
        break;
    }
    case SourceKind::Frames: entry.pieces.push_back(Piece::Held(AnimationEntry(source, name, stop))); break;
    case SourceKind::Sound: {
        const WaveSamples samples = ReadWaveFile(source.file.path, source.file.shown);
        entry.pieces.push_back(Piece::Held(SoundEntryHeader(samples.code, lead)));
        entry.pieces.push_back(Piece::FromFile(source.file.path, samples.offset, samples.length));
        break;
    }
    case SourceKind::Raw: {
        std::error_code error;
        const std::uint64_t size = std::filesystem::file_size(source.file.path, error);
        if (error) throw PackError(source.file.shown + ": cannot be read (" + error.message() + ")");
        entry.pieces.push_back(Piece::FromFile(source.file.path, 0, size));
        break;
    }
    }
    return entry;
}

namespace {

// The reduced picture with the pixels the frame before it showed already put back: frames
// drawn over it then find the canvas changed only where this one stores.
Picture KeepingWhatTheCanvasShows(Picture reduced, const Picture& original, const Bytes* before)
{
    if (before == nullptr || before->empty()) return reduced;
    for (std::size_t at = 0; at + 3 <= original.bgr.size(); at += 3) {
        if (std::equal(&original.bgr[at], &original.bgr[at] + 3, &(*before)[at]))
            std::copy_n(&original.bgr[at], 3, &reduced.bgr[at]);
    }
    return reduced;
}

}  // namespace

// The picture drawn over the canvas: cleared (pictures of an archive, first frames), not
// known, or `canvas` as the frame before left it. `canvas` then holds this picture. The
// colours counted are those the entry must store: where the canvas is known, pixels it
// already shows (or a copy gives) take no palette entry.
Bytes EntryBuilder::PictureEntry(const SourceFile& file, Under under, Picture& canvas)
{
    Picture picture = file.pixels ? *file.pixels : ReadPictureFile(file.path, file.shown);
    const Bytes cleared;
    const bool sameSize = canvas.width == picture.width && canvas.height == picture.height;
    const Bytes* before = under == Under::Cleared ? &cleared
        : under == Under::Previous && sameSize    ? &canvas.bgr
                                                  : nullptr;
    Bytes entry;
    try {
        entry = EncodePicture(picture, before);
    } catch (const TooManyColours&) {
        const std::size_t colours = StoredColourCount(picture, before);
        if (!quantize_)
            throw PackError(file.shown + ": " + std::to_string(colours)
                            + " colours to store; a picture holds at most 128 (--quantize reduces them)");
        try {
            picture = KeepingWhatTheCanvasShows(Quantized(picture), picture, before);
        } catch (const std::runtime_error& error) {
            throw PackError(file.shown + ": " + error.what());
        }
        note_(file.shown + ": " + std::to_string(colours) + " colours reduced to "
              + std::to_string(StoredColourCount(picture, before)) + " with libimagequant");
        entry = EncodePicture(picture, before);
    }
    canvas = std::move(picture);
    return entry;
}

// A raw frame's bytes, which conversion copies as they are only when their first byte is
// none of the picture types it draws or passes over.
Bytes EntryBuilder::RawFrame(const SourceFile& file)
{
    Bytes bytes = file.bytes ? *file.bytes : ReadFileBytes(file.path, file.shown, kMaxArchiveBytes);
    if (bytes.empty() || bytes[0] == kFullPicture || bytes[0] == kSkippedPicture || bytes[0] == kRectPicture)
        throw PackError(file.shown + ": a raw frame must start with a type byte other than 0, 1 and 2, "
                        + "or conversion would not copy it back");
    return bytes;
}

// Each frame is drawn over the one before it, unless the settings say otherwise (the
// animation's name is their section). Where the canvas is not known (a first frame after
// missing ones finds what earlier entries drew; a frame of another size finds another
// layout; a base frame drawn first; a frame left out, drawn only as another's base) the
// frame is drawn whole. A missing frame number is a frame of the type that draws nothing;
// a raw frame leaves the canvas as it is.
Bytes EntryBuilder::AnimationEntry(const Source& source, const std::string& name, const PackStop& stop)
{
    std::vector<AnimationFrame> frames;
    Picture canvas;
    bool known = false;
    const std::uint32_t last = std::max({source.frameCount, source.frames.empty() ? 0 : source.frames.rbegin()->first,
                                         source.rawFrames.empty() ? 0 : source.rawFrames.rbegin()->first});
    for (std::uint32_t number = 1; number <= last; ++number) {
        StopIfAsked(stop);
        const std::int32_t v
            = settings_ != nullptr ? settings_->IntegerValue(name, "p" + std::to_string(number), 0) : 0;
        const bool named = v >= 1 && static_cast<std::uint32_t>(v) <= last;
        const bool leftOut = named && static_cast<std::uint32_t>(v) == number;
        const bool onBase = named && !leftOut;
        const auto file = source.frames.find(number);
        if (const auto raw = source.rawFrames.find(number); raw != source.rawFrames.end()) {
            frames.push_back({RawFrame(raw->second), true});
        } else if (file == source.frames.end()) {
            frames.push_back({{kSkippedPicture}, false});
        } else {
            const Under under = number == 1 || v == -1 ? Under::Cleared
                : known && !onBase && !leftOut         ? Under::Previous
                                                       : Under::Unknown;
            Picture drawn;
            frames.push_back({PictureEntry(file->second, under, leftOut ? drawn : canvas), false});
            if (!leftOut) known = true;
            continue;
        }
        if (onBase || v == -1) known = false;
    }
    std::vector<std::uint32_t> longer;
    Bytes data = LayOutAnimation(frames, longer);
    for (const std::uint32_t number : longer)
        note_(source.rawFrames.at(number).shown + ": converting the animation copies this frame with bytes after it, "
              + "as the frames around it no longer end in it");
    return data;
}

}  // namespace orv::pack
