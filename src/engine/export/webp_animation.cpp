#include "engine/export/webp_animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

#include "engine/base/fatal_error.h"
#include "engine/output/output_file.h"
#include "engine/base/scratch_buffer.h"

namespace orv {

namespace {

struct MuxDeleter {
    void operator()(WebPMux* mux) const { WebPMuxDelete(mux); }
};

struct PictureDeleter {
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};

struct WriterDeleter {
    void operator()(WebPMemoryWriter* writer) const { WebPMemoryWriterClear(writer); }
};

struct DataDeleter {
    void operator()(WebPData* data) const { WebPDataClear(data); }
};

void WriteAll(OutputFile& out, const std::uint8_t* bytes, std::size_t size)
{
    while (size > 0) {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(size, kMaxScratchBytes));
        errno = 0;
        if (!out.Write(bytes, chunk)) throw FatalError::CannotWrite(out.path(), errno);
        bytes += chunk;
        size -= chunk;
    }
}

// The part of a cell a WebP frame holds.
struct Region {
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The smallest region outside which the cell equals the one before it (the whole cell
// for the first), its left and top taken down to even numbers as a frame's offset must
// be. A cell like the one before still gets a frame of its own, of one pixel.
Region ChangedRegion(const std::uint8_t* cell, const std::uint8_t* before, std::uint32_t width, std::uint32_t height)
{
    if (before == nullptr) return {0, 0, width, height};
    const std::size_t rowBytes = std::size_t{width} * 3;
    std::uint32_t left = width;
    std::uint32_t top = height;
    std::uint32_t right = 0;
    std::uint32_t bottom = 0;
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = cell + y * rowBytes;
        const std::uint8_t* under = before + y * rowBytes;
        if (std::memcmp(row, under, rowBytes) == 0) continue;
        std::size_t first = 0;
        while (std::memcmp(row + first * 3, under + first * 3, 3) == 0) ++first;
        std::size_t last = width;
        while (std::memcmp(row + (last - 1) * 3, under + (last - 1) * 3, 3) == 0) --last;
        left = std::min(left, static_cast<std::uint32_t>(first));
        right = std::max(right, static_cast<std::uint32_t>(last));
        top = std::min(top, y);
        bottom = y + 1;
    }
    if (right == 0) return {0, 0, 1, 1};
    left &= ~1U;
    top &= ~1U;
    return {left, top, right - left, bottom - top};
}

// The region of the cell (width pixels a row) as a lossless WebP bitstream.
void EncodeRegion(const std::uint8_t* cell, std::uint32_t width, const Region& region, const WebPConfig& config,
                  WebPMemoryWriter& writer, const std::string& path)
{
    WebPPicture picture;
    if (WebPPictureInit(&picture) == 0) throw FatalError::CannotWrite(path);
    picture.use_argb = 1;
    picture.width = static_cast<int>(region.width);
    picture.height = static_cast<int>(region.height);
    const std::unique_ptr<WebPPicture, PictureDeleter> owned(&picture);
    const std::uint8_t* first = cell + (std::size_t{region.top} * width + region.left) * 3;
    if (WebPPictureImportBGR(&picture, first, static_cast<int>(width * 3)) == 0) throw FatalError::OutOfMemory();
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    if (WebPEncode(&config, &picture) == 0) {
        if (picture.error_code == VP8_ENC_ERROR_OUT_OF_MEMORY) throw FatalError::OutOfMemory();
        throw FatalError::CannotWrite(path);
    }
}

}  // namespace

bool WriteWebpAnimation(const ComposedFrames& frames, std::int32_t frameMs, const StopCheck& stop, OutputFile& out)
{
    const std::uint32_t width = frames.cellWidth();
    const std::uint32_t height = frames.cellHeight();
    const std::int64_t lastTimestamp = std::int64_t{frameMs} * static_cast<std::int64_t>(frames.frames().size());
    if (width > WEBP_MAX_DIMENSION || height > WEBP_MAX_DIMENSION || lastTimestamp > std::numeric_limits<int>::max())
        throw FatalError::CannotWrite(out.path());

    WebPConfig config;
    if (WebPConfigInit(&config) == 0) throw FatalError::CannotWrite(out.path());
    config.lossless = 1;
    config.exact = 1;
    const std::unique_ptr<WebPMux, MuxDeleter> mux(WebPMuxNew());
    if (mux == nullptr) throw FatalError::OutOfMemory();
    // Forever, over opaque black, as the cells are filled.
    const WebPMuxAnimParams params{0xFF000000, 0};
    if (WebPMuxSetAnimationParams(mux.get(), &params) != WEBP_MUX_OK
        || WebPMuxSetCanvasSize(mux.get(), static_cast<int>(width), static_cast<int>(height)) != WEBP_MUX_OK)
        throw FatalError::CannotWrite(out.path());

    // Each frame of its own, shown for its own time: a frame like the one before is not
    // folded into it, so the file counts the frames the animation does.
    ScratchBuffer cellBuffer;
    ScratchBuffer beforeBuffer;
    std::uint8_t* cell = cellBuffer.EnsureCapacity(width * height * 3, false);
    std::uint8_t* before = beforeBuffer.EnsureCapacity(width * height * 3, false);
    if (cell == nullptr || before == nullptr) throw FatalError::OutOfMemory();
    bool first = true;
    for (const ComposedFrame& frame : frames.frames()) {
        if (stop()) return false;
        frames.Cell(frame, cell);
        const Region region = ChangedRegion(cell, first ? nullptr : before, width, height);
        WebPMemoryWriter writer;
        WebPMemoryWriterInit(&writer);
        const std::unique_ptr<WebPMemoryWriter, WriterDeleter> ownedWriter(&writer);
        EncodeRegion(cell, width, region, config, writer, out.path());
        WebPMuxFrameInfo info{};
        info.bitstream = {writer.mem, writer.size};
        info.x_offset = static_cast<int>(region.left);
        info.y_offset = static_cast<int>(region.top);
        info.duration = frameMs;
        info.id = WEBP_CHUNK_ANMF;
        info.dispose_method = WEBP_MUX_DISPOSE_NONE;
        info.blend_method = WEBP_MUX_NO_BLEND;
        const WebPMuxError pushed = WebPMuxPushFrame(mux.get(), &info, 1);
        if (pushed == WEBP_MUX_MEMORY_ERROR) throw FatalError::OutOfMemory();
        if (pushed != WEBP_MUX_OK) throw FatalError::CannotWrite(out.path());
        std::swap(cell, before);
        first = false;
    }
    WebPData data;
    WebPDataInit(&data);
    const std::unique_ptr<WebPData, DataDeleter> ownedData(&data);
    if (WebPMuxAssemble(mux.get(), &data) != WEBP_MUX_OK) throw FatalError::OutOfMemory();
    WriteAll(out, data.bytes, data.size);
    return true;
}

}  // namespace orv
