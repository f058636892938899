#pragma once

#include <pybind11/pybind11.h>

#include "engine/read/reader.h"

namespace orv::python {

// orv.Pixels: a picture or frame held by Python, lent out read-only through the buffer
// protocol as height x width x 3 bytes (red, green, blue), so that numpy and memoryview
// use it without a copy.
struct Pixels {
    RgbImage image;
};

// orv.Pixels, and orv.decode_picture, which makes them from a picture entry's bytes.
void BindPixels(pybind11::module_& m);

}  // namespace orv::python
