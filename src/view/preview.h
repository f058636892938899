#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstddef>
#include <vector>

#include "engine/format/sound_format.h"
#include "engine/read/reader.h"

namespace orv::view {

// A frame an animation shows: its number (from 1; frames left out have none) and its
// pixels, null for a frame conversion copies raw.
struct PreviewFrame {
    std::uint32_t number = 0;
    QImage image;
};

// An entry rendered for the preview pane, exactly as conversion writes it: a picture's
// pixels, an animation's composed frames, a sound's samples, or the bytes of anything
// else (and of pictures and frames of a type conversion copies raw).
struct Preview {
    enum class Kind { Picture, Frames, Sound, Bytes, Nothing, Error };

    std::size_t entry = 0;
    Kind kind = Kind::Nothing;
    QImage picture;  // Picture
    std::vector<PreviewFrame> frames;  // Frames
    SoundFormat sound;  // Sound
    QByteArray bytes;  // Bytes; Sound: the 16-bit PCM samples
    QString error;  // Error
};

// The pixels of a rendered picture as an image of its own; a null image for a picture 0
// pixels wide or high. std::bad_alloc when the image cannot be allocated.
QImage ToImage(const RgbImage& image);

// Renders entry i of the reader; stop abandons it (a Nothing preview).
Preview RenderPreview(Reader& reader, std::size_t i, const ReaderStop& stop);

}  // namespace orv::view
