#include "python/errors.h"

#include "engine/base/fatal_error.h"
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

}  // namespace

void BindErrors(py::module_& m)
{
    types.error = NewType(m, "Error", PyExc_RuntimeError,
                          "An input or an entry that cannot be read: the text orvconv-cli shows for it.");
    types.packError = NewType(m, "PackError", types.error, "No archive can be written: the text orvpack shows for it.");
    types.settingsError = NewType(m, "SettingsError", types.error, "A settings file is there but cannot be read.");
    types.notAnInput = NewType(m, "NotAnInputError", types.error,
                               "The file is neither a pack archive (.dat starting with \"pack\") nor an "
                               "animation file (.ani), or is no regular file at all (a folder, FIFO or device).");

    // FatalError's terminal text: the path and the system's reason.
    // pybind11 takes a function of exactly this type.
    py::register_exception_translator([](std::exception_ptr raised) {  // NOLINT(performance-unnecessary-value-param)
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const FatalError& fatal) {
            PyErr_SetString(types.error, fatal.detailed());
        } catch (const pack::PackError& failed) {
            PyErr_SetString(types.packError, failed.what());
        } catch (const SettingsError& failed) {
            PyErr_SetString(types.settingsError, failed.what());
        }
    });
}

void ThrowNotAnInput(const std::string& text)
{
    PyErr_SetString(types.notAnInput, text.c_str());
    throw py::error_already_set();
}

}  // namespace orv::python
