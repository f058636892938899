#include "python/export.h"

#include <fcntl.h>
#include <pybind11/pybind11.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "engine/base/fatal_error.h"
#include "engine/base/text.h"
#include "engine/base/scratch_buffer.h"
#include "engine/export/gif_animation.h"
#include "engine/export/sprite_sheet.h"
#include "engine/export/webp_animation.h"
#include "engine/output/output_file.h"
#include "engine/output/png_writer.h"

namespace orv::python {

namespace py = pybind11;

namespace {

// The file to be put at path once written, in the folder path names.
OutputFile BeginFile(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) throw FatalError::CannotOpen(path, errno);
    // The file holds a descriptor of its own.
    OutputFile out(folderFd, std::string(FileNamePart(path)), path);
    ::close(folderFd);
    if (!out.created()) throw FatalError::CannotOpen(path, out.error());
    return out;
}

void Commit(OutputFile& out)
{
    if (!out.Commit()) throw FatalError::CannotWrite(out.path());
}

// The sheet as a PNG file at path and its index beside it (path with .json for its ending).
void SaveSheet(const ComposedFrames& composed, const std::string& path, std::int32_t columns, const ReaderStop& stop)
{
    const std::uint32_t perRow = SheetColumns(columns, composed.frames().size());
    ScratchBuffer buffer;
    const std::optional<SpriteSheet> sheet = DrawSpriteSheet(composed, perRow, buffer, stop);
    if (!sheet) return;
    OutputFile png = BeginFile(path);
    if (WritePngRows(png, sheet->rows, sheet->info, nullptr) != kPngWritten) throw FatalError::PngFailed(path);
    const std::string jsonPath = std::filesystem::path(path).replace_extension(".json").string();
    OutputFile json = BeginFile(jsonPath);
    const std::string index = SpriteSheetJson(composed, perRow);
    if (!json.Write(index.data(), static_cast<std::uint32_t>(index.size()))) throw FatalError::CannotWrite(jsonPath);
    Commit(png);
    Commit(json);
}

}  // namespace

void SaveAnimation(std::vector<RenderedFrame> frames, const std::string& path, const std::string& format,
                   const SaveOptions& options, const ReaderStop& stop)
{
    if (format != "webp" && format != "gif" && format != "sheet")
        throw py::value_error("format must be \"webp\", \"gif\" or \"sheet\"");
    // The writers take the frames as conversion gathers them: blue, green, red.
    ComposedFrames composed;
    for (RenderedFrame& frame : frames) {
        if (frame.action != PictureAction::Drawn) continue;
        SwapRedAndBlue(frame.image.rgb.data(), std::size_t{frame.image.width} * frame.image.height);
        composed.Add(static_cast<std::int32_t>(frame.number), frame.image.width, frame.image.height,
                     frame.image.rgb.data());
        frame.image.rgb = {};
    }
    if (!composed.Showable()) throw py::value_error("the animation has no frame to show");
    if (format == "sheet") return SaveSheet(composed, path, options.sheetColumns, stop);

    OutputFile out = BeginFile(path);
    const bool finished = format == "webp" ? WriteWebpAnimation(composed, options.frameMs, stop, out)
                                           : WriteGifAnimation(composed, options.frameMs, stop, out).finished;
    if (finished) Commit(out);
}

}  // namespace orv::python
