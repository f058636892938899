#include "python/pixels.h"

#include <pybind11/stl.h>

#include <string>

namespace orv::python {

namespace py = pybind11;

void BindPixels(py::module_& m)
{
    py::class_<Pixels>(m, "Pixels", py::buffer_protocol(),
                       "Pixels of a picture or frame: height x width x 3 bytes (red, green, blue), top row "
                       "first, read-only. numpy.asarray(p) and memoryview(p) share them without a copy.")
        .def_buffer([](Pixels& pixels) {
            const auto width = static_cast<py::ssize_t>(pixels.image.width);
            const auto height = static_cast<py::ssize_t>(pixels.image.height);
            return py::buffer_info(pixels.image.rgb.data(), 1, py::format_descriptor<std::uint8_t>::format(), 3,
                                   {height, width, py::ssize_t{3}}, {width * 3, py::ssize_t{3}, py::ssize_t{1}}, true);
        })
        .def_property_readonly(
            "width", [](const Pixels& pixels) { return pixels.image.width; }, "Columns.")
        .def_property_readonly(
            "height", [](const Pixels& pixels) { return pixels.image.height; }, "Rows.")
        .def_property_readonly(
            "shape", [](const Pixels& pixels) { return py::make_tuple(pixels.image.height, pixels.image.width, 3); },
            "(height, width, 3), as numpy gives it.")
        .def(
            "tobytes",
            [](const Pixels& pixels) {
                return py::bytes(reinterpret_cast<const char*>(pixels.image.rgb.data()), pixels.image.rgb.size());
            },
            "The pixels as bytes: rows of red, green, blue, top row first.")
        .def("__repr__", [](const Pixels& pixels) {
            return "<orv.Pixels " + std::to_string(pixels.image.width) + "x" + std::to_string(pixels.image.height)
                + ">";
        });
}

}  // namespace orv::python
