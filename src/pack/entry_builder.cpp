#include "pack/entry_builder.h"

#include <filesystem>
#include <system_error>

#include "engine/read/image_decoder.h"
#include "pack/animation_data.h"
#include "pack/pack_error.h"
#include "pack/picture_encoder.h"
#include "pack/picture_file.h"
#include "pack/quantize.h"
#include "pack/sound_entry.h"
#include "pack/wave_file.h"

namespace orv::pack {

PlannedEntry EntryBuilder::Build(const Source& source, const std::string& name, const std::array<std::uint8_t, 3>& lead)
{
    PlannedEntry entry{name, source.FirstFile().shown, {}};
    switch (source.kind) {
    case SourceKind::Picture: {
        Picture canvas;
        entry.pieces.push_back(Piece::Held(PictureEntry(source.file, Under::Cleared, canvas)));
        break;
    }
    case SourceKind::Frames: entry.pieces.push_back(Piece::Held(AnimationEntry(source))); break;
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

// The picture drawn over the canvas: cleared (pictures of an archive, first frames), not
// known, or `canvas` as the frame before left it. `canvas` then holds this picture.
Bytes EntryBuilder::PictureEntry(const SourceFile& file, Under under, Picture& canvas)
{
    Picture picture = file.pixels ? *file.pixels : ReadPictureFile(file.path, file.shown);
    const std::size_t colours = ColourCount(picture);
    if (colours > kMaxPictureColours) {
        if (!quantize_)
            throw PackError(file.shown + ": " + std::to_string(colours)
                            + " colours; a picture holds at most 128 (--quantize reduces them)");
        try {
            picture = Quantized(picture);
        } catch (const std::runtime_error& error) {
            throw PackError(file.shown + ": " + error.what());
        }
        note_(file.shown + ": " + std::to_string(colours) + " colours reduced to "
              + std::to_string(ColourCount(picture)) + " with libimagequant");
    }
    const Bytes cleared;
    const bool sameSize = canvas.width == picture.width && canvas.height == picture.height;
    const Bytes* before = under == Under::Cleared ? &cleared
        : under == Under::Previous && sameSize    ? &canvas.bgr
                                                  : nullptr;
    Bytes entry = EncodePicture(picture, before);
    canvas = std::move(picture);
    return entry;
}

// Each frame is drawn over the one before it, as frames are composed without settings.
// Where the canvas is not known (a first frame after missing ones finds what earlier
// entries drew; a frame of another size finds another layout) the frame is drawn whole.
// A missing frame number is a frame of the type that draws nothing.
Bytes EntryBuilder::AnimationEntry(const Source& source)
{
    std::vector<Bytes> frames;
    Picture canvas;
    bool drawnYet = false;
    const std::uint32_t last = source.frames.rbegin()->first;
    for (std::uint32_t number = 1; number <= last; ++number) {
        const auto file = source.frames.find(number);
        if (file == source.frames.end()) {
            frames.push_back({kSkippedPicture});
            continue;
        }
        const Under under = number == 1 ? Under::Cleared : drawnYet ? Under::Previous : Under::Unknown;
        frames.push_back(PictureEntry(file->second, under, canvas));
        drawnYet = true;
    }
    return BuildAnimation(frames);
}

}  // namespace orv::pack
