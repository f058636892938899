#include <cstring>

#include "engine/convert/converter.h"
#include "engine/base/fatal_error.h"
#include "engine/read/image_decoder.h"
#include "engine/output/image_writers.h"
#include "engine/read/canvas.h"

namespace orv {

void Converter::ConvertImageEntry(const std::uint8_t* data, const ArchiveEntry& entry, bool clearCanvas,
                                  bool renderOnly, std::int32_t frameNo)
{
    const PictureHeader header = ReadPictureHeader(data, entry.size);
    switch (ActionOf(header)) {
    case PictureAction::Skipped: return;
    case PictureAction::Raw:
        if (!drawOnly_) DumpEntry(data, entry, frameNo);
        return;
    case PictureAction::Drawn: break;
    }

    const std::string stem = EntryOutputStem(entry) + FrameSuffix(frameNo);
    const std::string bmpPath = stem + ".bmp";
    if (!drawOnly_) view_.ShowOutputPath(bmpPath);

    const std::uint8_t* canvas = canvas_.Draw(data, entry.size, header, frameNo, clearCanvas);
    if (renderOnly || drawOnly_) return;
    const std::uint32_t width = header.width;
    const std::uint32_t height = header.height;
    if (composing_) {
        composed_.Add(frameNo, width, height, canvas);
        return;
    }

    // The canvas goes on to the next picture, so the file is written from a copy of its
    // rows: bottom-up, padded to a multiple of 4 bytes with zeros so that the same
    // picture always gives the same file.
    const std::uint64_t rowBytes = std::uint64_t{width} * 3;
    const std::uint64_t stride = BmpStride(width, 24);
    const std::uint64_t imageSize = stride * height;
    const auto size = static_cast<std::uint32_t>(imageSize);
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
    // libpng refuses a side of 0: such a picture is written as the BMP every other mode
    // writes for it, with a note, instead of ending the run with the PNG error.
    if (PictureEnding(options.outputMode == AllPng, width, height) == ".png") {
        const std::string pngPath = stem + ".png";
        view_.ShowOutputPath(pngPath);
        Claim(pngPath, entry, frameNo);
        outputs_.AddPicture(
            [this, info, pngPath](const std::uint8_t* pixels) { return WritePng(pixels, info, pngPath, nullptr); },
            &FatalError::PngFailed);
    } else {
        Claim(bmpPath, entry, frameNo);
        outputs_.AddPicture(
            [this, info, bmpPath](const std::uint8_t* pixels) { return WriteBmp(pixels, info, bmpPath, nullptr); },
            &FatalError::CannotWrite);
        if (options.outputMode == AllPng)
            outputs_.AddMark([this, bmpPath] { view_.ShowNote(EmptyPictureAsBmpText(bmpPath)); });
    }
}

}  // namespace orv
