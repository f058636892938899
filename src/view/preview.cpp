#include "view/preview.h"

#include <QCoreApplication>
#include <cstring>
#include <new>

#include "engine/base/fatal_error.h"

namespace orv::view {

namespace {

QByteArray ToBytes(const std::vector<std::uint8_t>& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

// Rows of 3-byte pixels, top row first, as an image of Qt's (red first); blueFirst: the
// pixels are blue, green, red, as drawn, and are turned row by row. A null image for 0
// pixels wide or high, as for no picture.
QImage ImageOfRows(std::uint32_t width, std::uint32_t height, const std::uint8_t* pixels, bool blueFirst)
{
    if (width == 0 || height == 0) return {};
    QImage out(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB888);
    // Qt answers an allocation it cannot make with a null image.
    if (out.isNull()) throw std::bad_alloc();
    const std::size_t row = std::size_t{width} * 3;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* line = out.scanLine(static_cast<int>(y));
        std::memcpy(line, pixels + y * row, row);
        if (blueFirst) SwapRedAndBlue(line, width);
    }
    return out;
}

}  // namespace

QImage ToImage(const RgbImage& image)
{
    return ImageOfRows(image.width, image.height, image.rgb.data(), false);
}

Preview RenderPreview(Reader& reader, std::size_t i, const ReaderStop& stop)
{
    Preview preview;
    preview.entry = i;
    try {
        switch (reader.entries()[i].kind) {
        case EntryKind::Picture: {
            // Taken from the canvas as drawn: a copy of the whole picture as RGB between
            // would be a third one for a picture that may be a gigabyte.
            const FrameView picture = reader.PictureView(i);
            if (picture.action == PictureAction::Drawn) {
                preview.kind = Preview::Kind::Picture;
                preview.picture = ImageOfRows(picture.width, picture.height, picture.bgr, true);
            } else if (picture.action == PictureAction::Raw) {
                preview.kind = Preview::Kind::Bytes;
                preview.bytes
                    = QByteArray(reinterpret_cast<const char*>(picture.bytes), static_cast<qsizetype>(picture.size));
            }
            break;
        }
        case EntryKind::Animation: {
            const std::vector<RenderedFrame> frames = reader.Animation(i, stop);
            if (frames.empty() && stop && stop()) return preview;
            preview.kind = Preview::Kind::Frames;
            for (const RenderedFrame& frame : frames)
                preview.frames.push_back(
                    {frame.number, frame.action == PictureAction::Drawn ? ToImage(frame.image) : QImage()});
            break;
        }
        case EntryKind::Sound: {
            const RenderedSound sound = reader.Sound(i);
            preview.kind = Preview::Kind::Sound;
            preview.sound = sound.format;
            preview.bytes = ToBytes(sound.samples);
            break;
        }
        case EntryKind::Other:
            preview.kind = Preview::Kind::Bytes;
            preview.bytes = ToBytes(reader.Bytes(i));
            break;
        }
    } catch (const FatalError& error) {
        preview = Preview{i, Preview::Kind::Error, {}, {}, {}, {}, QString::fromUtf8(error.what())};
    } catch (const std::bad_alloc&) {
        preview = Preview{i, Preview::Kind::Error, {}, {}, {}, {}, QString::fromUtf8(FatalError::OutOfMemory().what())};
    }
    return preview;
}

}  // namespace orv::view
