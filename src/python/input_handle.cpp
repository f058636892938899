#include "python/input_handle.h"

#include "cli/input_messages.h"
#include "python/errors.h"

namespace orv::python {

namespace py = pybind11;

InputHandle::InputHandle(const std::string& path, std::optional<InputKind> kind) : path_(path)
{
    auto input = std::make_shared<Input>();
    Input::Opened opened = Input::Opened::Yes;
    {
        const py::gil_scoped_release free;
        opened = kind ? input->Open(path, *kind) : input->Open(path);
    }
    if (opened == Input::Opened::NotAnInput) ThrowNotAnInput(cli::PassedOverText(path, input->passedOver()));
    if (opened == Input::Opened::CannotOpen) {
        const int error = input->openError();
        PyErr_SetObject(PyExc_OSError, py::make_tuple(error, cli::NotOpenedText(path, error), path).ptr());
        throw py::error_already_set();
    }
    kind_ = input->kind();
    entries_ = input->entries();
    reader_ = std::make_unique<Reader>(std::move(input));
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
        for (const InputEntry& entry : entries_) stored_.emplace(std::string(entry.stored.Name()), entry.index);
    const auto found = stored_.find(name);
    return found == stored_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

std::optional<std::size_t> InputHandle::FindShown(const std::string& name)
{
    if (shown_.empty())
        for (const InputEntry& entry : entries_) shown_.emplace(entry.shown, entry.index);
    const auto found = shown_.find(name);
    return found == shown_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
}

void InputHandle::ThrowClosed()
{
    // Raised with the interpreter held again, once the guard above has gone.
    throw py::value_error("I/O operation on a closed input");
}

}  // namespace orv::python
