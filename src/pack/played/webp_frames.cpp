// Frames of an animated WebP, as libwebp's animation decoder shows them.
#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>

#include "engine/base/scratch_buffer.h"
#include "pack/files/file_bytes.h"
#include "pack/files/pack_error.h"
#include "pack/files/picture_limits.h"
#include "pack/played/played_frames.h"

namespace orv::pack {

namespace {

constexpr std::uint64_t kDecoderBytesPerPixel = 8;

struct DecoderDelete {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

}  // namespace

std::vector<PlayedFrame> ReadWebpFrames(const std::string& path, const std::string& shown)
{
    const Bytes bytes = ReadFileBytes(path, shown, kMaxScratchBytes);
    // libwebp's decoder holds two canvases of 4 bytes a pixel: they, the blank picture and
    // the frames read stay within a picture block, the canvas size read from the header
    // before libwebp allocates anything of that size.
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK)
        throw PackError(shown + ": not a WebP file libwebp can read");
    const std::uint64_t canvasPixels = std::uint64_t(features.width) * std::uint64_t(features.height);
    std::uint64_t held = canvasPixels * (kDecoderBytesPerPixel + 3);
    if (held > kMaxScratchBytes)
        throw PackError(shown + ": its canvas of " + std::to_string(features.width) + " x "
                        + std::to_string(features.height) + " pixels would take more than "
                        + std::to_string(kMaxScratchBytes >> 20) + " MiB to decode");
    const WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    if (WebPAnimDecoderOptionsInit(&options) == 0) throw PackError(shown + ": libwebp cannot be set up");
    options.color_mode = MODE_BGRA;
    options.use_threads = 0;
    const std::unique_ptr<WebPAnimDecoder, DecoderDelete> decoder(WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (decoder == nullptr || WebPAnimDecoderGetInfo(decoder.get(), &info) == 0)
        throw PackError(shown + ": not a WebP file libwebp can read");
    // Checks the size against a picture's limits before anything of that size is held.
    const Picture blank = BlankPicture(info.canvas_width, info.canvas_height, shown);
    std::vector<PlayedFrame> frames;
    int shownUntil = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder.get()) != 0) {
        std::uint8_t* canvas = nullptr;
        int timestamp = 0;
        if (WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) == 0)
            throw PackError(shown + ": frame " + std::to_string(frames.size() + 1) + " cannot be decoded");
        held += blank.bgr.size();
        if (held > kMaxScratchBytes)
            throw PackError(shown + ": its frames would take more than " + std::to_string(kMaxScratchBytes >> 20)
                            + " MiB");
        auto picture = std::make_shared<Picture>(blank);
        for (std::size_t i = 0; i < picture->bgr.size() / 3; ++i) {
            if (canvas[i * 4 + 3] != 0xFF)
                throw PackError(shown + ": frame " + std::to_string(frames.size() + 1)
                                + " has transparent pixels, which no animation frame has");
            std::copy_n(canvas + i * 4, 3, &picture->bgr[i * 3]);
        }
        frames.push_back({0, std::move(picture), static_cast<std::uint32_t>(std::max(0, timestamp - shownUntil))});
        shownUntil = timestamp;
    }
    return frames;
}

}  // namespace orv::pack
