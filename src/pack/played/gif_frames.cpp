// Frames of an animated GIF as a GIF decoder shows them: each image drawn at its offset
// over what the frames before it left, transparent pixels leaving the screen as it was,
// then disposed of as its control block says. orvconv-cli writes each frame whole; GIF
// editors write partial ones. A frame reduced to 256 colours says so in a comment.
#include <gif_lib.h>

#include <algorithm>
#include <array>
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

// What the extensions before an image say of it: how it is shown, and whether it is a
// frame reduced to 256 colours.
struct ImageExtensions {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    bool controlSeen = false;
    bool reduced = false;
};

void ReadExtension(GifFileType* gif, ImageExtensions& extensions, const std::string& shown)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) throw PackError(shown + ": not a GIF file giflib can read");
    if (block != nullptr && code == GRAPHICS_EXT_FUNC_CODE && !extensions.controlSeen)
        extensions.controlSeen = DGifExtensionToGCB(block[0], block + 1, &extensions.control) == GIF_OK;
    if (block != nullptr && code == COMMENT_EXT_FUNC_CODE
        && std::string_view(reinterpret_cast<const char*>(block + 1), block[0]) == kGifReducedComment)
        extensions.reduced = true;
    while (block != nullptr)
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) throw PackError(shown + ": not a GIF file giflib can read");
}

// The image's colour indexes, row after row, its interlaced rows put in their places.
void ReadRaster(GifFileType* gif, std::vector<GifPixelType>& raster, const std::string& frame)
{
    const GifImageDesc& desc = gif->Image;
    const auto width = static_cast<std::size_t>(desc.Width);
    const auto height = static_cast<std::size_t>(desc.Height);
    raster.assign(width * height, 0);
    const auto row = [&](std::size_t y) {
        if (DGifGetLine(gif, raster.data() + y * width, desc.Width) != GIF_OK)
            throw PackError(frame + ": its pixels are cut short or not a GIF's");
    };
    if (desc.Interlace) {
        constexpr std::array<std::size_t, 4> kFirst{0, 4, 2, 1};
        constexpr std::array<std::size_t, 4> kStep{8, 8, 4, 2};
        for (std::size_t pass = 0; pass < kFirst.size(); ++pass)
            for (std::size_t y = kFirst[pass]; y < height; y += kStep[pass]) row(y);
    } else {
        for (std::size_t y = 0; y < height; ++y) row(y);
    }
}

// The screen as the frames so far leave it: pixels, and which of them a frame has drawn
// (the others show through as transparent, which no animation frame is).
struct Screen {
    Picture picture;
    std::vector<std::uint8_t> drawn;
};

// Draws the image over the screen, clipped to it.
void DrawImage(const GifImageDesc& desc, const std::vector<GifPixelType>& raster, const ColorMapObject& map,
               int transparent, Screen& screen, const std::string& frame)
{
    const std::size_t width = screen.picture.width;
    const std::size_t height = screen.picture.height;
    for (std::size_t y = 0; y < static_cast<std::size_t>(desc.Height); ++y) {
        const std::size_t sy = static_cast<std::size_t>(desc.Top) + y;
        for (std::size_t x = 0; x < static_cast<std::size_t>(desc.Width) && sy < height; ++x) {
            const std::size_t sx = static_cast<std::size_t>(desc.Left) + x;
            const int index = raster[y * static_cast<std::size_t>(desc.Width) + x];
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

// The GIF is read a record at a time, so that an image's size is weighed against what its
// frames may take before any of its pixels are: a few kilobytes of GIF may claim images of
// 65,535 x 65,535.
std::vector<PlayedFrame> ReadGifFrames(const std::string& path, const std::string& shown)
{
    int error = 0;
    const std::unique_ptr<GifFileType, GifClose> gif(DGifOpenFileName(path.c_str(), &error));
    if (gif == nullptr) throw PackError(shown + ": not a GIF file giflib can read");
    Screen screen{BlankPicture(static_cast<std::uint64_t>(std::max(0, gif->SWidth)),
                               static_cast<std::uint64_t>(std::max(0, gif->SHeight)), shown),
                  {}};
    screen.drawn.assign(screen.picture.bgr.size() / 3, 0);
    std::vector<PlayedFrame> frames;
    std::vector<GifPixelType> raster;
    ImageExtensions extensions;
    for (GifRecordType record = UNDEFINED_RECORD_TYPE; record != TERMINATE_RECORD_TYPE;) {
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK)
            throw PackError(shown + ": not a GIF file giflib can read");
        if (record == EXTENSION_RECORD_TYPE) ReadExtension(gif.get(), extensions, shown);
        if (record != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif.get()) != GIF_OK) throw PackError(shown + ": not a GIF file giflib can read");
        const GifImageDesc& desc = gif->Image;
        const std::string frame = shown + ": frame " + std::to_string(frames.size() + 1);
        // The frames so far and this one, the screen, the screen saved for a frame disposed
        // of to the previous, and this image's pixels.
        const std::uint64_t needed = (frames.size() + 3) * screen.picture.bgr.size()
            + static_cast<std::uint64_t>(desc.Width) * static_cast<std::uint64_t>(desc.Height);
        if (needed > kMaxScratchBytes)
            throw PackError(shown + ": its frames would take more than " + std::to_string(kMaxScratchBytes >> 20)
                            + " MiB");
        if (extensions.reduced)
            throw PackError(frame + " was reduced to 256 colours when it was written, so it is not the animation's "
                            + "frame; convert the archive with --animation frames to pack it");
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        if (map == nullptr) throw PackError(frame + " has no colours to show");
        ReadRaster(gif.get(), raster, frame);
        const GraphicsControlBlock control = extensions.control;
        extensions = {};
        const Screen before = control.DisposalMode == DISPOSE_PREVIOUS ? screen : Screen{};
        DrawImage(desc, raster, *map, control.TransparentColor, screen, frame);
        if (std::find(screen.drawn.begin(), screen.drawn.end(), 0) != screen.drawn.end())
            throw PackError(frame + " shows transparent pixels, which no animation frame has");
        frames.push_back({0, std::make_shared<Picture>(screen.picture), static_cast<std::uint32_t>(control.DelayTime)});
        if (control.DisposalMode == DISPOSE_BACKGROUND) ClearImage(desc, screen);
        if (control.DisposalMode == DISPOSE_PREVIOUS) screen = before;
    }
    return frames;
}

}  // namespace orv::pack
