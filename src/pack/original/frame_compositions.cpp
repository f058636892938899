#include "pack/original/frame_compositions.h"

#include "engine/format/picture_header.h"
#include "engine/read/image_decoder.h"

namespace orv::pack {

bool FrameCompositions::Draw(std::uint32_t k, const Picture& shape, Bytes& canvas) const
{
    const std::uint32_t offset = offsets_.at(k - 1);
    if (offset >= data_.size()) return true;
    const std::uint8_t* frame = data_.data() + offset;
    const auto size = static_cast<std::uint32_t>(data_.size() - offset);
    const PictureHeader header = ReadPictureHeader(frame, size);
    if (header.type != kFullPicture && header.type != kRectPicture) return true;
    if (header.width != shape.width || header.height != shape.height) return false;
    DecodeImage(frame, canvas.data(), size);
    return true;
}

bool FrameCompositions::Explains(std::uint32_t number, const Picture& picture, const Picture* before) const
{
    if (number == 0 || number > offsets_.size()) return false;
    const Bytes cleared(picture.bgr.size(), 0);
    std::vector<const Bytes*> canvases{&cleared};
    if (before != nullptr && before->width == picture.width && before->height == picture.height)
        canvases.push_back(&before->bgr);
    const auto shows = [&](std::uint32_t base, const Bytes& under) {
        Bytes canvas = under;
        return (base == 0 || Draw(base, picture, canvas)) && Draw(number, picture, canvas) && canvas == picture.bgr;
    };
    for (std::uint32_t base = 0; base <= offsets_.size(); ++base) {
        if (base == number) continue;
        // A base frame 1 is drawn on a cleared canvas, as every frame numbered 1 is.
        for (const Bytes* under : canvases) {
            if (base == 1 && under != &cleared) continue;
            if (shows(base, *under)) return true;
        }
    }
    return false;
}

}  // namespace orv::pack
