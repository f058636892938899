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
    if (WritePngRows(out, pixels, info, colourTable) != kPngWritten) throw FatalError::PngFailed(path);
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
