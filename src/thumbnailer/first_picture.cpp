#include "thumbnailer/first_picture.h"

#include <cstring>

#include "engine/format/picture_header.h"
#include "engine/read/canvas.h"

namespace orv {

namespace {

bool WithinLimits(const PictureHeader& header)
{
    return std::uint64_t{header.width} * header.height <= kThumbnailMaxPixels;
}

// The first frame an animation draws; frames passed over or copied raw draw nothing.
std::optional<RgbImage> FirstFrame(Reader& reader, std::size_t i)
{
    const std::vector<std::uint8_t> data = reader.Bytes(i);
    for (const std::uint32_t offset : reader.FrameOffsets(i)) {
        if (offset >= data.size()) continue;
        const PictureHeader header = ReadPictureHeader(data.data() + offset, data.size() - offset);
        if (ActionOf(header) != PictureAction::Drawn) continue;
        if (!WithinLimits(header)) return std::nullopt;
        break;
    }
    std::optional<RgbImage> first;
    reader.Frames(
        i,
        [&first](const FrameView& frame) {
            if (first || frame.action != PictureAction::Drawn) return;
            RgbImage image{frame.width, frame.height, {}};
            image.rgb.assign(frame.bgr, frame.bgr + std::size_t{frame.width} * frame.height * 3);
            SwapRedAndBlue(image.rgb.data(), std::size_t{frame.width} * frame.height);
            first = std::move(image);
        },
        [&first] { return first.has_value(); });
    return first;
}

}  // namespace

std::optional<RgbImage> FirstPicture(Reader& reader)
{
    for (std::size_t i = 0; i < reader.entries().size(); ++i) {
        const ReaderEntry& entry = reader.entries()[i];
        if (entry.kind == EntryKind::Image) {
            const PictureHeader header = reader.Details(i).picture;
            if (ActionOf(header) != PictureAction::Drawn) continue;
            if (!WithinLimits(header) || entry.size > kThumbnailMaxEntryBytes) return std::nullopt;
            return reader.Picture(i).image;
        }
        if (entry.kind != EntryKind::Animation) continue;
        if (entry.size > kThumbnailMaxEntryBytes) return std::nullopt;
        if (std::optional<RgbImage> frame = FirstFrame(reader, i)) return frame;
    }
    return std::nullopt;
}

}  // namespace orv
