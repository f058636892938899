#include "thumbnail/first_picture.h"

#include "engine/format/picture_header.h"
#include "engine/read/canvas.h"

namespace orv {

namespace {

bool WithinLimits(const PictureHeader& header)
{
    return std::uint64_t{header.width} * header.height * 3 <= kThumbnailLimits.pictureBytes;
}

// The header of the first frame an animation draws (frames passed over or copied raw draw
// nothing); none when it draws none.
std::optional<PictureHeader> FirstDrawnFrame(Reader& reader, std::size_t i)
{
    const std::vector<std::uint8_t> data = reader.Bytes(i);
    for (const std::uint32_t offset : reader.FrameOffsets(i)) {
        if (offset >= data.size()) continue;
        const PictureHeader header = ReadPictureHeader(data.data() + offset, data.size() - offset);
        if (ActionOf(header) == PictureAction::Drawn) return header;
    }
    return std::nullopt;
}

std::optional<RgbImage> FirstFrame(Reader& reader, std::size_t i)
{
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

// The animation's first composed frame, given the header of the first frame it draws.
std::optional<RgbImage> AnimationPicture(Reader& reader, std::size_t i, const PictureHeader& firstDrawn)
{
    if (!WithinLimits(firstDrawn)) return std::nullopt;
    return FirstFrame(reader, i);
}

}  // namespace

std::optional<RgbImage> EntryPicture(Reader& reader, std::size_t i)
{
    const InputEntry& entry = reader.entries()[i];
    if (entry.size > kThumbnailLimits.entryBytes) return std::nullopt;
    if (entry.kind == EntryKind::Picture) {
        const PictureHeader header = reader.Details(i).picture;
        if (ActionOf(header) != PictureAction::Drawn || !WithinLimits(header)) return std::nullopt;
        return reader.Picture(i).image;
    }
    if (entry.kind != EntryKind::Animation) return std::nullopt;
    const std::optional<PictureHeader> frame = FirstDrawnFrame(reader, i);
    return frame ? AnimationPicture(reader, i, *frame) : std::nullopt;
}

std::optional<RgbImage> FirstPicture(Reader& reader)
{
    for (std::size_t i = 0; i < reader.entries().size(); ++i) {
        const InputEntry& entry = reader.entries()[i];
        // Entries that draw nothing are passed; the first that draws is the picture, or
        // none when it is beyond the limits: what follows it shows what it drew.
        if (entry.kind == EntryKind::Picture) {
            if (ActionOf(reader.Details(i).picture) == PictureAction::Drawn) return EntryPicture(reader, i);
        } else if (entry.kind == EntryKind::Animation) {
            if (entry.size > kThumbnailLimits.entryBytes) return std::nullopt;
            if (const std::optional<PictureHeader> frame = FirstDrawnFrame(reader, i))
                return AnimationPicture(reader, i, *frame);
        }
    }
    return std::nullopt;
}

}  // namespace orv
