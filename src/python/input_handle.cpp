#include "python/input_handle.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "engine/base/text.h"
#include "engine/read/input_messages.h"

namespace orv::python {

namespace py = pybind11;

namespace {

// The file object, let go with the interpreter held, whichever thread lets it go.
struct HeldFile {
    py::object file;
    explicit HeldFile(py::object f) : file(std::move(f)) { }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile()
    {
        const PyGILState_STATE state = PyGILState_Ensure();
        Py_XDECREF(file.release().ptr());
        PyGILState_Release(state);
    }
};

// Reads where the input asks, each with the interpreter held: the file is never read whole.
// What the file object raises is a read error; a KeyboardInterrupt (or another exception
// that is no error) is kept by interrupt, to be raised in its place.
std::shared_ptr<ByteSource> FileObjectSource(const py::object& file, const std::shared_ptr<Interrupt>& interrupt)
{
    auto held = std::make_shared<HeldFile>(file);
    file.attr("seek")(0, 2);
    const auto size = file.attr("tell")().cast<std::uint64_t>();
    return CallbackSource(size, [held, interrupt](std::uint64_t offset, void* destination, std::uint32_t n) {
        const py::gil_scoped_acquire interpreter;
        try {
            held->file.attr("seek")(offset);
            const py::object got = held->file.attr("read")(n);
            if (!py::isinstance<py::bytes>(got)) return false;
            const std::string_view bytes = got.cast<std::string_view>();
            if (bytes.size() != n) return false;
            std::memcpy(destination, bytes.data(), n);
            return true;
        } catch (py::error_already_set& raised) {
            if (!raised.matches(PyExc_Exception)) interrupt->Keep(std::move(raised));
            return false;
        }
    });
}

}  // namespace

InputHandle::InputHandle(const std::string& path, std::optional<InputKind> kind, const py::object& given) : path_(path)
{
    OpenWith([&](Input& input) { return kind ? input.Open(path, *kind) : input.Open(path); }, given);
}

InputHandle::InputHandle(const py::object& file, const std::string& name, InputKind kind) : path_(name)
{
    std::shared_ptr<ByteSource> source = FileObjectSource(file, interrupt_);
    OpenWith([&](Input& input) { return input.Open(std::move(source), name, kind); }, TextOf(name));
}

template <typename Open> void InputHandle::OpenWith(Open open, const py::object& given)
{
    auto input = std::make_shared<Input>();
    Input::Opened opened = Input::Opened::Yes;
    {
        const py::gil_scoped_release free;
        opened = open(*input);
    }
    interrupt_->Raise();
    if (opened == Input::Opened::NotAnInput) {
        if (input->passedOver() == PassedOver::Folder) ThrowOsError(EISDIR, given);
        ThrowNotAnInput(PassedOverText(path_, input->passedOver()));
    }
    if (opened == Input::Opened::CannotOpen) {
        const int error = input->openError();
        // No system error: the path names something other than a regular file (a FIFO, a
        // device, a socket), which is no input whatever its name.
        if (error == 0) ThrowNotAnInput(EscapeControlBytes(path_) + ": " + SystemReason(0));
        ThrowOsError(error, given);
    }
    kind_ = input->kind();
    limits_ = input->limits();
    entries_ = input->entries();
    reader_ = std::make_unique<Reader>(std::move(input));
}

InputHandle::~InputHandle()
{
    if (!reader_) return;
    // Its Python objects go with the interpreter held, perhaps while an exception is on its
    // way, which the warning must leave as it is.
    PyObject *type = nullptr, *value = nullptr, *traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyObject* path = PyUnicode_DecodeFSDefaultAndSize(path_.data(), static_cast<Py_ssize_t>(path_.size()));
    if (path == nullptr || PyErr_WarnFormat(PyExc_ResourceWarning, 1, "unclosed input %R", path) != 0)
        PyErr_WriteUnraisable(nullptr);
    Py_XDECREF(path);
    PyErr_Restore(type, value, traceback);
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
