#include <cstring>

#include "engine/converter.h"
#include "engine/fatal_error.h"
#include "engine/image_decoder.h"
#include "engine/image_writers.h"

namespace orv {

void Converter::ConvertImageEntry(const std::uint8_t* data, const ArchiveEntry& entry, bool clearCanvas,
                                  bool renderOnly, std::int32_t frameNo)
{
    const PictureHeader header = ReadPictureHeader(data, entry.size);
    if (header.type == kSkippedPicture) return;
    if (header.type != kFullPicture && header.type != kRectPicture) {
        DumpEntry(data, entry, frameNo);
        return;
    }

    const std::string stem = EntryOutputStem(entry) + FrameSuffix(frameNo);
    const std::string bmpPath = stem + ".bmp";
    view_.ShowOutputPath(bmpPath);

    // 64-bit sizes: 65535 x 65535 pixels need more than 32 bits.
    const std::uint32_t width = header.width;
    const std::uint32_t height = header.height;
    const std::uint64_t rowBytes = std::uint64_t{width} * 3;
    const std::uint64_t stride = (rowBytes + 3) & ~std::uint64_t{3};
    const std::uint64_t imageSize = stride * height;
    if (imageSize > kMaxScratchBytes) throw FatalError::OutOfMemory();
    const auto size = static_cast<std::uint32_t>(imageSize);
    std::uint8_t* canvas = canvasBuf.EnsureCapacity(size, frameNo <= 1 || clearCanvas);
    if (canvas == nullptr) throw FatalError::OutOfMemory();

    DecodeImage(data, canvas, entry.size);
    if (renderOnly) return;
    if (composing_) {
        composed_.Add(frameNo, width, height, canvas);
        return;
    }

    // The canvas goes on to the next picture, so the file is written from a copy of its
    // rows: bottom-up, padded to a multiple of 4 bytes with zeros so that the same
    // picture always gives the same file.
    std::uint8_t* rows = outputs_.PictureBlock(size);
    for (std::uint32_t i = 0; i < height; ++i) {
        std::uint8_t* row = rows + (height - 1 - i) * stride;
        std::memcpy(row, canvas + i * rowBytes, rowBytes);
        std::memset(row + rowBytes, 0, stride - rowBytes);
    }

    DibInfo info;
    info.width = static_cast<std::int32_t>(width);
    info.height = static_cast<std::int32_t>(height);
    info.bitCount = 24;
    info.stride = static_cast<std::int32_t>(stride);
    info.imageSize = static_cast<std::int32_t>(imageSize);
    info.dataOffset = kBmpPixelOffset;
    if (options.outputMode == AllPng) {
        const std::string pngPath = stem + ".png";
        view_.ShowOutputPath(pngPath);
        outputs_.AddPicture(
            [this, info, pngPath](const std::uint8_t* pixels) { return WritePng(pixels, info, pngPath, nullptr); },
            &FatalError::PngFailed);
    } else {
        outputs_.AddPicture(
            [this, info, bmpPath](const std::uint8_t* pixels) { return WriteBmp(pixels, info, bmpPath, nullptr); },
            &FatalError::CannotWrite);
    }
}

}  // namespace orv
