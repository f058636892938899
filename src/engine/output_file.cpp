#include "output_file.h"

#include <utility>

#include "fatal_error.h"

namespace orv {

OutputFile::OutputFile(std::string path) : path_(std::move(path))
{
    if (!file_.Open(path_, FileHandle::Mode::Write)) throw FatalError::CannotOpen(path_);
}

void OutputFile::Write(const void* data, std::uint32_t n)
{
    if (!file_.Write(data, n)) throw FatalError::CannotWrite(path_);
}

void OutputFile::Close()
{
    if (!file_.Close()) throw FatalError::CannotWrite(path_);
}

}  // namespace orv
