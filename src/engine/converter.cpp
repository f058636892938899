#include "converter.h"

#include <cstdio>
#include <sys/stat.h>

#include "fatal_error.h"
#include "text.h"

namespace orv {

std::string FrameSuffix(std::int32_t frameNo)
{
    if (frameNo < 0) return {};
    char text[16];
    std::snprintf(text, sizeof text, "_%04d", static_cast<int>(frameNo));
    return text;
}

std::uint8_t* Converter::Obtain(ScratchBuffer& buffer, std::uint32_t n, bool zeroFill)
{
    std::uint8_t* block = buffer.EnsureCapacity(n, zeroFill);
    if (block == nullptr) throw FatalError::OutOfMemory();
    return block;
}

std::string OutputFolderName(std::string_view srcName)
{
    const std::string_view stem = WithoutExtension(srcName);
    // A stem of "", "." or ".." would name exeDir itself or its parent.
    if (stem.empty() || stem == "." || stem == "..") return std::string(srcName);
    return std::string(stem);
}

void Converter::MakeOutputFolder()
{
    outDir = exeDir + OutputFolderName(srcName);
    // An existing folder is fine; any other failure shows at the first output file.
    ::mkdir(outDir.c_str(), 0777);
    outDir += '/';
}

void Converter::DropCanvas()
{
    // An animation frame larger than the frame before it, drawn without clearing, keeps
    // the block's bytes when the block is large enough and gets a new black block when it
    // is not. Were the block of earlier inputs kept, an input's files would depend on what
    // those inputs drew and how large their pictures were, and so on which inputs this
    // engine converted before it.
    canvasBuf.EnsureCapacity(0, false);
}

std::string Converter::EntryOutputPath(const ArchiveEntry& entry, std::string_view suffix) const
{
    std::string path = outDir;
    path += Cp932ToUtf8(entry.Name());
    path += suffix;
    return path;
}

std::string Converter::EntryOutputStem(const ArchiveEntry& entry) const
{
    return outDir + std::string(WithoutExtension(Cp932ToUtf8(entry.Name())));
}

bool Converter::IsInsideOutDir(const std::string& path) const
{
    return path.size() > outDir.size() && path.compare(0, outDir.size(), outDir) == 0
        && IsPlainFileName(std::string_view(path).substr(outDir.size()));
}

OutputFile Converter::CreateOutputFile(const std::string& path) const
{
    if (!IsInsideOutDir(path)) throw FatalError::CannotOpen(path);
    return OutputFile(path);
}

}  // namespace orv
