#include "python/pixels.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/format/picture_header.h"
#include "engine/read/canvas.h"
#include "engine/read/input.h"
#include "python/bytes_like.h"
#include "python/errors.h"
#include "python/interrupt.h"

namespace orv::python {

namespace py = pybind11;

namespace {

// A picture entry's bytes on their own, drawn as a picture of an archive is: it sets
// every byte it shows.
py::object DecodePicture(const py::object& given)
{
    const std::string data = BytesLike(given, "data");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    const auto size = static_cast<std::uint32_t>(std::min<std::size_t>(data.size(), UINT32_MAX));
    const PictureHeader header = ReadPictureHeader(bytes, size);
    const PictureAction action = ActionOf(header);
    if (action == PictureAction::Skipped) return py::none();
    if (action == PictureAction::Raw) return py::bytes(data);
    // Errors name the call and the picture, as those of entry.picture() name the input and
    // the entry; a picture beyond an input's limits is refused before anything is drawn.
    const std::string picture
        = "a picture of " + std::to_string(header.width) + " x " + std::to_string(header.height) + " pixels";
    const std::uint64_t pixelBytes = std::uint64_t{header.width} * header.height * 3;
    const std::uint64_t limit = ReadLimits{}.pictureBytes;
    if (pixelBytes > limit) ThrowLimit("decode_picture", picture, pixelBytes, limit);
    // Ctrl-C is answered before the picture is drawn and before it is turned to red, green,
    // blue, as entry.picture() answers it: once stop says so, Raise() raises it.
    Interrupt interrupt;
    const std::function<bool()> stop = interrupt.Stop();
    Pixels pixels;
    try {
        const py::gil_scoped_release free;
        Canvas canvas;
        if (!stop()) {
            const std::uint8_t* bgr = canvas.Draw(bytes, size, header, -1, false);
            if (!stop()) {
                const std::size_t count = std::size_t{header.width} * header.height;
                pixels.image = {header.width, header.height, std::vector<std::uint8_t>(bgr, bgr + count * 3)};
                SwapRedAndBlue(pixels.image.rgb.data(), count);
            }
        }
    } catch (const FatalError& fatal) {
        ThrowEntryError("decode_picture", picture, fatal);
    }
    interrupt.Raise();
    return py::cast(std::move(pixels));
}

}  // namespace

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
    m.def("decode_picture", &DecodePicture, py::arg("data"),
          "The bytes of a picture entry (a .cg entry written out on its own) drawn as conversion draws a "
          "picture of an archive: orv.Pixels, the bytes themselves for a type that is not drawn, or None "
          "for type 1.");
}

}  // namespace orv::python
