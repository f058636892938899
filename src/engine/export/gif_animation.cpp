#include "engine/export/gif_animation.h"

#include <gif_lib.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "engine/base/fatal_error.h"
#include "engine/export/frame_palette.h"
#include "engine/output/output_file.h"
#include "engine/base/scratch_buffer.h"

namespace orv {

namespace {

int WriteToOutput(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* out = static_cast<OutputFile*>(gif->UserData);
    return count >= 0 && out->Write(bytes, static_cast<std::uint32_t>(count)) ? count : 0;
}

struct GifCloser {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
using Gif = std::unique_ptr<GifFileType, GifCloser>;

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// The NETSCAPE2.0 block that has viewers play the frames again and again.
bool PutLoopForever(GifFileType* gif)
{
    static const GifByteType kLoop[3] = {1, 0, 0};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK
        && EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK && EGifPutExtensionBlock(gif, 3, kLoop) == GIF_OK
        && EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool PutFrame(GifFileType* gif, const IndexedPicture& picture, int width, int height, int delay)
{
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, delay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&control, extension));
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, extension) != GIF_OK) return false;
    if (picture.reduced
        && EGifPutExtension(gif, COMMENT_EXT_FUNC_CODE, static_cast<int>(kGifReducedComment.size()),
                            kGifReducedComment.data())
            != GIF_OK)
        return false;

    // A colour table holds a power of two colours, at least two.
    int tableSize = 2;
    while (tableSize < picture.colourCount) tableSize *= 2;
    GifColorType colours[256] = {};
    for (int i = 0; i < picture.colourCount; ++i) {
        const auto& [red, green, blue] = picture.colours[static_cast<std::size_t>(i)];
        colours[i] = {red, green, blue};
    }
    const std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(tableSize, colours));
    if (map == nullptr || EGifPutImageDesc(gif, 0, 0, width, height, false, map.get()) != GIF_OK) return false;
    auto* row = const_cast<GifPixelType*>(picture.indices.data());
    for (int y = 0; y < height; ++y, row += width)
        if (EGifPutLine(gif, row, width) != GIF_OK) return false;
    return true;
}

}  // namespace

int GifDelayOf(std::int32_t frameMs)
{
    return std::max(1, (frameMs + 5) / 10);
}

GifWritten WriteGifAnimation(const ComposedFrames& frames, std::int32_t frameMs, const StopCheck& stop, OutputFile& out)
{
    const auto width = static_cast<int>(frames.cellWidth());
    const auto height = static_cast<int>(frames.cellHeight());
    const int delay = GifDelayOf(frameMs);
    int error = 0;
    Gif gif(EGifOpen(&out, WriteToOutput, &error));
    if (gif == nullptr) throw FatalError::OutOfMemory();
    EGifSetGifVersion(gif.get(), true);
    if (EGifPutScreenDesc(gif.get(), width, height, 8, 0, nullptr) != GIF_OK || !PutLoopForever(gif.get()))
        throw FatalError::CannotWrite(out.path());

    ScratchBuffer cellBuffer;
    std::uint8_t* cell = cellBuffer.EnsureCapacity(frames.cellWidth() * frames.cellHeight() * 3, false);
    if (cell == nullptr) throw FatalError::OutOfMemory();
    GifWritten written;
    IndexedPicture picture;
    for (const ComposedFrame& frame : frames.frames()) {
        if (stop()) return written;
        frames.Cell(frame, cell);
        IndexPicture(cell, frames.cellWidth(), frames.cellHeight(), picture);
        written.reduced = written.reduced || picture.reduced;
        errno = 0;
        if (!PutFrame(gif.get(), picture, width, height, delay)) throw FatalError::CannotWrite(out.path(), errno);
    }
    // Closing writes the trailer, and may fail as a write does.
    errno = 0;
    if (EGifCloseFile(gif.release(), &error) != GIF_OK) throw FatalError::CannotWrite(out.path(), errno);
    written.finished = true;
    return written;
}

}  // namespace orv
