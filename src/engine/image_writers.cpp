#include "engine/image_writers.h"

#include <cstring>

#include "engine/converter.h"
#include "engine/fatal_error.h"
#include "engine/png_writer.h"

namespace orv {

namespace {

void FillInfoHeader(std::uint8_t* header, const DibInfo& info)
{
    FillBmpInfoHeader(header, info.width, info.height, static_cast<std::uint16_t>(info.bitCount));
}

}  // namespace

OutputFile Converter::WriteBmp(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                               const std::uint8_t* colourTable)
{
    OutputFile out = CreateOutputFile(path);
    std::uint8_t headers[kBmpPixelOffset];
    FillBmpFileHeader(headers, static_cast<std::uint32_t>(info.imageSize) + static_cast<std::uint32_t>(info.dataOffset),
                      static_cast<std::uint32_t>(info.dataOffset));
    FillInfoHeader(headers + kBmpFileHeaderBytes, info);
    WriteOutput(out, headers, sizeof headers);
    if (info.bitCount == 8) WriteOutput(out, colourTable, kColourTableBytes);
    WriteOutput(out, pixels, static_cast<std::uint32_t>(info.imageSize));
    return out;
}

OutputFile Converter::WritePng(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                               const std::uint8_t* colourTable)
{
    OutputFile out = BeginOutputFile(path);
    std::uint8_t block[kBitmapInfoHeaderBytes + kColourTableBytes] = {};
    FillInfoHeader(block, info);
    if (info.bitCount == 8) std::memcpy(block + kBitmapInfoHeaderBytes, colourTable, kColourTableBytes);
    if (SaveDibAsPng(out, block, pixels) != kPngWritten) throw FatalError::PngFailed(path);
    return out;
}

void Converter::WriteBmpFile(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                             const std::uint8_t* colourTable)
{
    OutputFile out = WriteBmp(pixels, info, path, colourTable);
    CommitOutput(out);
}

void Converter::WritePngFile(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                             const std::uint8_t* colourTable)
{
    OutputFile out = WritePng(pixels, info, path, colourTable);
    if (!out.Commit()) throw FatalError::PngFailed(path);
}

}  // namespace orv
