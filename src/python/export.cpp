#include "python/export.h"

#include <fcntl.h>
#include <pybind11/pybind11.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "engine/base/fatal_error.h"
#include "engine/base/text.h"
#include "engine/export/gif_animation.h"
#include "engine/export/webp_animation.h"
#include "engine/output/output_file.h"

namespace orv::python {

namespace py = pybind11;

void SaveAnimation(std::vector<RenderedFrame> frames, const std::string& path, const std::string& format, int frameMs,
                   const ReaderStop& stop)
{
    if (format != "webp" && format != "gif") throw py::value_error("format must be \"webp\" or \"gif\"");
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

    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) throw FatalError::CannotOpen(path, errno);
    // The file holds a descriptor of its own.
    OutputFile out(folderFd, std::string(FileNamePart(path)), path);
    ::close(folderFd);
    if (!out.created()) throw FatalError::CannotOpen(path, out.error());
    const bool finished = format == "webp" ? WriteWebpAnimation(composed, frameMs, stop, out)
                                           : WriteGifAnimation(composed, frameMs, stop, out).finished;
    if (finished && !out.Commit()) throw FatalError::CannotWrite(path);
}

}  // namespace orv::python
