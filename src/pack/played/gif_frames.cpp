// Frames of an animated GIF as a GIF decoder shows them: each image drawn at its offset
// over what the frames before it left, transparent pixels leaving the screen as it was,
// then disposed of as its control block says. orvconv-cli writes each frame whole; GIF
// editors write partial ones. A frame reduced to 256 colours says so in a comment.
#include <gif_lib.h>

#include <algorithm>
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

// The screen as the frames so far leave it: pixels, and which of them a frame has drawn
// (the others show through as transparent, which no animation frame is).
struct Screen {
    Picture picture;
    std::vector<std::uint8_t> drawn;
};

// Draws the image over the screen, clipped to it.
void DrawImage(const SavedImage& image, const ColorMapObject& map, int transparent, Screen& screen,
               const std::string& frame)
{
    const GifImageDesc& desc = image.ImageDesc;
    const std::size_t width = screen.picture.width;
    const std::size_t height = screen.picture.height;
    for (std::size_t y = 0; y < static_cast<std::size_t>(desc.Height); ++y) {
        const std::size_t sy = static_cast<std::size_t>(desc.Top) + y;
        for (std::size_t x = 0; x < static_cast<std::size_t>(desc.Width) && sy < height; ++x) {
            const std::size_t sx = static_cast<std::size_t>(desc.Left) + x;
            const int index = image.RasterBits[y * static_cast<std::size_t>(desc.Width) + x];
            if (sx >= width || index == transparent) continue;
            if (index >= map.ColorCount) throw PackError(frame + ": a pixel names no colour of its table");
            const GifColorType& colour = map.Colors[index];
            const std::size_t at = sy * width + sx;
            screen.picture.bgr[at * 3] = colour.Blue;
            screen.picture.bgr[at * 3 + 1] = colour.Green;
            screen.picture.bgr[at * 3 + 2] = colour.Red;
            screen.drawn[at] = 1;
        }
    }
}

// The image's rectangle, clipped to the screen, back to no frame drawn.
void ClearImage(const GifImageDesc& desc, Screen& screen)
{
    const std::size_t width = screen.picture.width;
    const std::size_t height = screen.picture.height;
    for (std::size_t sy = static_cast<std::size_t>(desc.Top);
         sy < std::min(height, static_cast<std::size_t>(desc.Top) + static_cast<std::size_t>(desc.Height)); ++sy) {
        for (std::size_t sx = static_cast<std::size_t>(desc.Left);
             sx < std::min(width, static_cast<std::size_t>(desc.Left) + static_cast<std::size_t>(desc.Width)); ++sx) {
            std::fill_n(&screen.picture.bgr[(sy * width + sx) * 3], 3, 0);
            screen.drawn[sy * width + sx] = 0;
        }
    }
}

}  // namespace

std::vector<PlayedFrame> ReadGifFrames(const std::string& path, const std::string& shown)
{
    int error = 0;
    const std::unique_ptr<GifFileType, GifClose> gif(DGifOpenFileName(path.c_str(), &error));
    if (gif == nullptr || DGifSlurp(gif.get()) != GIF_OK) throw PackError(shown + ": not a GIF file giflib can read");
    Screen screen{BlankPicture(static_cast<std::uint64_t>(std::max(0, gif->SWidth)),
                               static_cast<std::uint64_t>(std::max(0, gif->SHeight)), shown),
                  {}};
    screen.drawn.assign(screen.picture.bgr.size() / 3, 0);
    // The frames, the screen and the screen saved for a frame disposed of to the previous.
    if ((static_cast<std::uint64_t>(gif->ImageCount) + 2) * screen.picture.bgr.size() > kMaxScratchBytes)
        throw PackError(shown + ": its frames would take more than " + std::to_string(kMaxScratchBytes >> 20) + " MiB");
    std::vector<PlayedFrame> frames;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const std::string frame = shown + ": frame " + std::to_string(i + 1);
        if (Reduced(image))
            throw PackError(frame + " was reduced to 256 colours when it was written, so it is not the animation's "
                            + "frame; convert the archive with --animation frames to pack it");
        const ColorMapObject* map = image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (map == nullptr || image.RasterBits == nullptr) throw PackError(frame + " has no colours to show");
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(gif.get(), i, &control);
        const Screen before = control.DisposalMode == DISPOSE_PREVIOUS ? screen : Screen{};
        DrawImage(image, *map, control.TransparentColor, screen, frame);
        if (std::find(screen.drawn.begin(), screen.drawn.end(), 0) != screen.drawn.end())
            throw PackError(frame + " shows transparent pixels, which no animation frame has");
        frames.push_back({0, std::make_shared<Picture>(screen.picture), static_cast<std::uint32_t>(control.DelayTime)});
        if (control.DisposalMode == DISPOSE_BACKGROUND) ClearImage(image.ImageDesc, screen);
        if (control.DisposalMode == DISPOSE_PREVIOUS) screen = before;
    }
    return frames;
}

}  // namespace orv::pack
