#include "python/errors.h"

#include <cstring>

#include "pack/files/pack_error.h"
#include "settings/settings_error.h"

namespace orv::python {

namespace py = pybind11;

namespace {

// The exception types, made once when the module is imported and kept for the life of
// the interpreter.
struct Types {
    PyObject* error = nullptr;
    PyObject* packError = nullptr;
    PyObject* settingsError = nullptr;
    PyObject* notAnInput = nullptr;
    PyObject* limit = nullptr;
};
Types types;

PyObject* NewType(py::module_& m, const char* name, PyObject* base, const char* doc)
{
    const std::string qualified = std::string("orv.") + name;
    PyObject* type = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, base, nullptr);
    if (type == nullptr) throw py::error_already_set();
    m.attr(name) = py::reinterpret_borrow<py::object>(type);
    return type;
}

// An exception of type with message, whose texts may name paths that are not UTF-8.
void SetError(PyObject* type, const char* text)
{
    PyErr_SetObject(type, TextOf(text).ptr());
}

[[noreturn]] void Raise(PyObject* type, const py::object& exception)
{
    PyErr_SetObject(type, exception.ptr());
    throw py::error_already_set();
}

}  // namespace

py::str TextOf(const std::string& bytes)
{
    PyObject* text = PyUnicode_DecodeFSDefaultAndSize(bytes.data(), static_cast<py::ssize_t>(bytes.size()));
    if (text == nullptr) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(text);
}

void BindErrors(py::module_& m)
{
    types.error = NewType(m, "Error", PyExc_RuntimeError,
                          "An input or an entry that cannot be read: one line naming both; engine_text holds "
                          "the text orvconv-cli shows for it.");
    // Raised where the engine gave no text of its own (a frame table that lies, a picture
    // too large for Pillow): none.
    py::reinterpret_borrow<py::object>(types.error).attr("engine_text") = "";
    types.packError = NewType(m, "PackError", types.error, "No archive can be written: the text orvpack shows for it.");
    types.settingsError = NewType(m, "SettingsError", types.error, "A settings file is there but cannot be read.");
    types.notAnInput = NewType(m, "NotAnInputError", types.error,
                               "The file is neither a pack archive (.dat starting with \"pack\") nor an "
                               "animation file (.ani), or is no regular file at all (a FIFO or device).");
    const py::tuple limitBases = py::make_tuple(py::handle(types.error), py::handle(PyExc_MemoryError));
    types.limit = PyErr_NewExceptionWithDoc("orv.LimitError",
                                            "Reading would take more memory than the input's limit allows (a "
                                            "MemoryError): size and limit give the bytes, size 0 where unknown.",
                                            limitBases.ptr(), nullptr);
    if (types.limit == nullptr) throw py::error_already_set();
    m.attr("LimitError") = py::reinterpret_borrow<py::object>(types.limit);

    // FatalError's terminal text: the path and the system's reason.
    // pybind11 takes a function of exactly this type.
    py::register_exception_translator([](std::exception_ptr raised) {  // NOLINT(performance-unnecessary-value-param)
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const FatalError& fatal) {
            SetError(types.error, fatal.detailed());
        } catch (const pack::PackError& failed) {
            SetError(types.packError, failed.what());
        } catch (const SettingsError& failed) {
            SetError(types.settingsError, failed.what());
        }
    });
}

bool IsOutOfMemory(const FatalError& fatal)
{
    return std::strcmp(fatal.what(), FatalError::OutOfMemory().what()) == 0;
}

void ThrowNotAnInput(const std::string& text)
{
    SetError(types.notAnInput, text.c_str());
    throw py::error_already_set();
}

void ThrowOsError(int error, const py::object& filename)
{
    Raise(PyExc_OSError, py::make_tuple(error, std::strerror(error), filename));
}

void ThrowLimit(const std::string& input, const std::string& what, std::uint64_t size, std::uint64_t limit)
{
    const py::str need = size != 0 ? py::str("{} bytes").format(size) : py::str("more");
    py::object error = py::reinterpret_borrow<py::object>(types.limit)(
        py::str("{}: {}: needs {}, more than the limit of {} bytes").format(TextOf(input), TextOf(what), need, limit));
    error.attr("size") = size;
    error.attr("limit") = limit;
    Raise(types.limit, error);
}

void ThrowInputError(const std::string& input, const std::string& entry, const std::string& why)
{
    Raise(types.error,
          py::reinterpret_borrow<py::object>(types.error)(
              py::str("{}: {}: {}").format(TextOf(input), TextOf(entry), why)));
}

void ThrowEntryError(const std::string& input, const std::string& entry, const FatalError& fatal,
                     const std::string& reason)
{
    const bool memory = IsOutOfMemory(fatal);
    PyObject* type = memory ? PyExc_MemoryError : types.error;
    const std::string why = !reason.empty() ? reason : memory ? "out of memory" : "cannot be read";
    py::object error
        = py::reinterpret_borrow<py::object>(type)(py::str("{}: {}: {}").format(TextOf(input), TextOf(entry), why));
    error.attr("engine_text") = TextOf(fatal.detailed());
    Raise(type, error);
}

}  // namespace orv::python
