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

}  // namespace

QImage ToImage(const RgbImage& image)
{
    // A picture 0 pixels wide or high shows nothing: a null image, as for no picture.
    if (image.width == 0 || image.height == 0) return {};
    QImage out(static_cast<int>(image.width), static_cast<int>(image.height), QImage::Format_RGB888);
    // Qt answers an allocation it cannot make with a null image.
    if (out.isNull()) throw std::bad_alloc();
    const std::size_t row = std::size_t{image.width} * 3;
    for (std::uint32_t y = 0; y < image.height; ++y)
        std::memcpy(out.scanLine(static_cast<int>(y)), image.rgb.data() + y * row, row);
    return out;
}

Preview RenderPreview(Reader& reader, std::size_t i, const ReaderStop& stop)
{
    Preview preview;
    preview.entry = i;
    try {
        switch (reader.entries()[i].kind) {
        case EntryKind::Picture: {
            const RenderedPicture picture = reader.Picture(i);
            if (picture.action == PictureAction::Drawn) {
                preview.kind = Preview::Kind::Picture;
                preview.picture = ToImage(picture.image);
            } else if (picture.action == PictureAction::Raw) {
                preview.kind = Preview::Kind::Bytes;
                preview.bytes = ToBytes(picture.bytes);
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
