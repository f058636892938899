#include "engine/export/webp_animation.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>

#include "engine/base/fatal_error.h"
#include "engine/output/output_file.h"
#include "engine/base/scratch_buffer.h"

namespace orv {

namespace {

struct EncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};
using Encoder = std::unique_ptr<WebPAnimEncoder, EncoderDeleter>;

struct PictureDeleter {
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
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

}  // namespace

bool WriteWebpAnimation(const ComposedFrames& frames, std::int32_t frameMs, const StopCheck& stop, OutputFile& out)
{
    const std::uint32_t width = frames.cellWidth();
    const std::uint32_t height = frames.cellHeight();
    const std::int64_t lastTimestamp = std::int64_t{frameMs} * static_cast<std::int64_t>(frames.frames().size());
    if (width > WEBP_MAX_DIMENSION || height > WEBP_MAX_DIMENSION || lastTimestamp > std::numeric_limits<int>::max())
        throw FatalError::CannotWrite(out.path());

    WebPAnimEncoderOptions options;
    WebPConfig config;
    if (WebPAnimEncoderOptionsInit(&options) == 0 || WebPConfigInit(&config) == 0)
        throw FatalError::CannotWrite(out.path());
    options.anim_params.loop_count = 0;  // forever
    options.anim_params.bgcolor = 0xFF000000;  // opaque black, as the cells are filled
    config.lossless = 1;
    config.exact = 1;
    const Encoder encoder(WebPAnimEncoderNew(static_cast<int>(width), static_cast<int>(height), &options));
    if (encoder == nullptr) throw FatalError::OutOfMemory();

    ScratchBuffer cellBuffer;
    std::uint8_t* cell = cellBuffer.EnsureCapacity(width * height * 3, false);
    if (cell == nullptr) throw FatalError::OutOfMemory();
    int timestamp = 0;
    for (const ComposedFrame& frame : frames.frames()) {
        if (stop()) return false;
        frames.Cell(frame, cell);
        WebPPicture picture;
        if (WebPPictureInit(&picture) == 0) throw FatalError::CannotWrite(out.path());
        picture.use_argb = 1;
        picture.width = static_cast<int>(width);
        picture.height = static_cast<int>(height);
        const std::unique_ptr<WebPPicture, PictureDeleter> owned(&picture);
        if (WebPPictureImportBGR(&picture, cell, static_cast<int>(width * 3)) == 0) throw FatalError::OutOfMemory();
        if (WebPAnimEncoderAdd(encoder.get(), &picture, timestamp, &config) == 0) {
            if (picture.error_code == VP8_ENC_ERROR_OUT_OF_MEMORY) throw FatalError::OutOfMemory();
            throw FatalError::CannotWrite(out.path());
        }
        timestamp += frameMs;
    }
    if (WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr) == 0) throw FatalError::OutOfMemory();
    WebPData data;
    WebPDataInit(&data);
    const std::unique_ptr<WebPData, DataDeleter> ownedData(&data);
    if (WebPAnimEncoderAssemble(encoder.get(), &data) == 0) throw FatalError::OutOfMemory();
    WriteAll(out, data.bytes, data.size);
    return true;
}

}  // namespace orv
