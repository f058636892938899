#include <cerrno>

#include "engine/base/fatal_error.h"
#include "engine/convert/converter.h"
#include "engine/output/image_writers.h"
#include "engine/output/png_writer.h"

namespace orv {

OutputFile Converter::WriteBmp(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                               const std::uint8_t* colourTable)
{
    OutputFile out = CreateOutputFile(path);
    errno = 0;
    if (!WriteBmpRows(out, pixels, info, colourTable)) throw FatalError::CannotWrite(path, errno);
    return out;
}

OutputFile Converter::WritePng(const std::uint8_t* pixels, const DibInfo& info, const std::string& path,
                               const std::uint8_t* colourTable)
{
    OutputFile out = BeginOutputFile(path);
    // Running out of descriptors or memory is told as such; whatever else keeps the
    // file from being written is the PNG error.
    if (!out.created() && (out.error() == EMFILE || out.error() == ENFILE)) throw FatalError::CannotOpen(path);
    if (!out.created() && out.error() == ENOMEM) throw FatalError::OutOfMemory();
    switch (WritePngRows(out, pixels, info, colourTable)) {
    case kPngWritten: return out;
    case kPngOutOfMemory: throw FatalError::OutOfMemory();
    case kPngNoDescriptor: throw FatalError::CannotOpen(path);
    default: throw FatalError::PngFailed(path);
    }
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
