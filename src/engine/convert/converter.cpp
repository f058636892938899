#include "engine/convert/converter.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "engine/base/fatal_error.h"
#include "engine/read/input.h"
#include "engine/base/text.h"

namespace orv {

std::uint8_t* Converter::Obtain(ScratchBuffer& buffer, std::uint32_t n, bool zeroFill)
{
    std::uint8_t* block = buffer.EnsureCapacity(n, zeroFill);
    if (block == nullptr) throw FatalError::OutOfMemory();
    return block;
}

void Converter::MakeOutputFolder()
{
    const std::string name = OutputFolderName(srcName);
    outDir = options.exeDir + name + '/';
    // The folder output folders are made in is made too, with its parents, once an input
    // has something to put there.
    std::error_code error;
    if (!options.exeDir.empty()) std::filesystem::create_directories(options.exeDir, error);
    if (error) throw FatalError::CannotMakeFolder(WithoutTrailingSlash(options.exeDir), error.value());
    // A folder that cannot be made or opened shows at the first output file.
    outFolder_.Make(options.exeDir, name);
}

void Converter::DropCanvas()
{
    // An animation frame larger than the frame before it, drawn without clearing, keeps
    // the block's bytes when the block is large enough and gets a new black block when it
    // is not. Were the block of earlier inputs kept, an input's files would depend on what
    // those inputs drew and how large their pictures were, and so on which inputs this
    // engine converted before it.
    canvas_.Drop();
}

bool Converter::StopRequested()
{
    view_.PumpEvents();
    return stopToken.stop_requested();
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

OutputFile Converter::BeginOutputFile(const std::string& path)
{
    if (!IsInsideOutDir(path)) throw FatalError::CannotOpen(path);
    // Outside ConvertInputFile (a writer called on its own) the folder is opened for
    // this one file.
    OutputFolder ownFolder;
    if (input_ == nullptr) ownFolder.Open(outDir);
    const OutputFolder& folder = input_ == nullptr ? ownFolder : outFolder_;
    if (input_ != nullptr && !folder.IsOpen() && folder.makeError() != 0)
        throw FatalError::CannotMakeFolder(WithoutTrailingSlash(outDir), folder.makeError());
    if (!folder.IsOpen()) throw FatalError::CannotOpen(path, folder.error());
    const std::string name = path.substr(outDir.size());
    struct stat st { };
    if (input_ != nullptr && ::fstatat(folder.descriptor(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0
        && (input_->file().identity() == FileIdentity{st.st_dev, st.st_ino}
            || std::count(options.batchInputs.begin(), options.batchInputs.end(), FileIdentity{st.st_dev, st.st_ino})
                != 0))
        throw FatalError::CannotOpen(path);
    return OutputFile(folder.descriptor(), name, path);
}

OutputFile Converter::CreateOutputFile(const std::string& path)
{
    OutputFile out = BeginOutputFile(path);
    if (out.created()) return out;
    if (out.error() == ENOSPC || out.error() == EDQUOT) throw FatalError::CannotWrite(path, out.error());
    throw FatalError::CannotOpen(path, out.error());
}

void Converter::WriteOutput(OutputFile& out, const void* data, std::uint32_t n)
{
    errno = 0;
    if (!out.Write(data, n)) throw FatalError::CannotWrite(out.path(), errno);
}

void Converter::CommitOutput(OutputFile& out)
{
    if (!out.Commit()) throw FatalError::CannotWrite(out.path());
}

void Converter::QueueOutput(OutputFile out)
{
    outputs_.Add(std::move(out), &FatalError::CannotWrite);
}

void Converter::Claim(const std::string& path, const ArchiveEntry& entry, std::int32_t frameNo)
{
    std::string writer = "entry " + std::to_string(entryIndex) + " (" + Cp932ToUtf8(entry.Name()) + ")";
    if (frameNo >= 0) writer += " frame " + std::to_string(frameNo);
    const auto [at, first] = claimed_.try_emplace(path, writer);
    if (first) return;
    view_.ShowNote(ReplacedOutputText(path, at->second, writer));
    at->second = std::move(writer);
}

}  // namespace orv
