#include "python/bytes_like.h"

namespace orv::python {

namespace py = pybind11;

std::string BytesLike(const py::handle& given, const char* what)
{
    Py_buffer view;
    if (PyObject_GetBuffer(given.ptr(), &view, PyBUF_C_CONTIGUOUS) != 0) {
        PyErr_Clear();
        throw py::type_error(std::string(what) + " must be a bytes-like object, not "
                             + py::str(py::type::handle_of(given).attr("__name__")).cast<std::string>());
    }
    std::string bytes(static_cast<const char*>(view.buf), static_cast<std::size_t>(view.len));
    PyBuffer_Release(&view);
    return bytes;
}

}  // namespace orv::python
