// Frames of an animated GIF as orvconv-cli writes them: each the whole screen, with a
// colour table of its own; a frame reduced to 256 colours says so in a comment.
#include <gif_lib.h>

#include <memory>
#include <string_view>

#include "engine/base/scratch_buffer.h"
#include "engine/export/gif_animation.h"
#include "pack/files/pack_error.h"
#include "pack/files/picture_limits.h"
#include "pack/played/played_frames.h"

namespace orv::pack {

namespace {

struct GifClose {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

bool Reduced(const SavedImage& image)
{
    for (int e = 0; e < image.ExtensionBlockCount; ++e) {
        const ExtensionBlock& block = image.ExtensionBlocks[e];
        if (block.Function == COMMENT_EXT_FUNC_CODE && block.ByteCount > 0
            && std::string_view(reinterpret_cast<const char*>(block.Bytes), static_cast<std::size_t>(block.ByteCount))
                == kGifReducedComment)
            return true;
    }
    return false;
}

}  // namespace

std::vector<PlayedFrame> ReadGifFrames(const std::string& path, const std::string& shown)
{
    int error = 0;
    const std::unique_ptr<GifFileType, GifClose> gif(DGifOpenFileName(path.c_str(), &error));
    if (gif == nullptr || DGifSlurp(gif.get()) != GIF_OK) throw PackError(shown + ": not a GIF file giflib can read");
    const Picture blank = BlankPicture(static_cast<std::uint64_t>(std::max(0, gif->SWidth)),
                                       static_cast<std::uint64_t>(std::max(0, gif->SHeight)), shown);
    if (static_cast<std::uint64_t>(gif->ImageCount) * blank.bgr.size() > kMaxScratchBytes)
        throw PackError(shown + ": its frames would take more than " + std::to_string(kMaxScratchBytes >> 20) + " MiB");
    std::vector<PlayedFrame> frames;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& desc = image.ImageDesc;
        const std::string frame = shown + ": frame " + std::to_string(i + 1);
        if (Reduced(image))
            throw PackError(frame + " was reduced to 256 colours when it was written, so it is not the animation's "
                            + "frame; convert the archive with --animation frames to pack it");
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        if (desc.Left != 0 || desc.Top != 0 || desc.Width != blank.width || desc.Height != blank.height
            || map == nullptr || image.RasterBits == nullptr)
            throw PackError(frame + " does not cover the whole picture with colours of its own, as orvconv-cli "
                            + "writes each frame");
        auto picture = std::make_shared<Picture>(blank);
        for (std::size_t p = 0; p < picture->bgr.size() / 3; ++p) {
            const int index = image.RasterBits[p];
            if (index >= map->ColorCount) throw PackError(frame + ": a pixel names no colour of its table");
            const GifColorType& colour = map->Colors[index];
            picture->bgr[p * 3] = colour.Blue;
            picture->bgr[p * 3 + 1] = colour.Green;
            picture->bgr[p * 3 + 2] = colour.Red;
        }
        frames.push_back({0, std::move(picture)});
    }
    return frames;
}

}  // namespace orv::pack
