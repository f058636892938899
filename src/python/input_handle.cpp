#include "python/input_handle.h"

#include "cli/input_messages.h"
#include "python/errors.h"

namespace orv::python {

namespace py = pybind11;

InputHandle::InputHandle(const std::string& path, std::optional<InputKind> kind) :
    reader_(std::make_unique<Reader>()), path_(path)
{
    Reader::Opened opened = Reader::Opened::Yes;
    {
        const py::gil_scoped_release free;
        opened = kind ? reader_->Open(path, *kind) : reader_->Open(path);
    }
    if (opened == Reader::Opened::NotAnInput) ThrowNotAnInput(cli::PassedOverText(path, reader_->passedOver()));
    if (opened == Reader::Opened::CannotOpen) {
        const int error = reader_->openError();
        // No system error: the path names something other than a regular file (a FIFO, a
        // device, a socket), which is no input whatever its name.
        if (error == 0) ThrowNotAnInput(cli::NotOpenedText(path, error));
        PyErr_SetObject(PyExc_OSError, py::make_tuple(error, cli::NotOpenedText(path, error), path).ptr());
        throw py::error_already_set();
    }
    kind_ = reader_->kind();
    entries_ = reader_->entries();
}

void InputHandle::Close()
{
    const py::gil_scoped_release free;
    const std::lock_guard<std::mutex> lock(mutex_);
    reader_.reset();
}

std::optional<std::size_t> InputHandle::FindStored(const std::string& name)
{
    if (stored_.empty())
        for (const ReaderEntry& entry : entries_) stored_.emplace(std::string(entry.stored.Name()), entry.index);
    const auto found = stored_.find(name);
    return found == stored_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

std::optional<std::size_t> InputHandle::FindShown(const std::string& name)
{
    if (shown_.empty())
        for (const ReaderEntry& entry : entries_) shown_.emplace(entry.shown, entry.index);
    const auto found = shown_.find(name);
    return found == shown_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

void InputHandle::ThrowClosed()
{
    // Raised with the interpreter held again, once the guard above has gone.
    throw py::value_error("I/O operation on a closed input");
}

}  // namespace orv::python
