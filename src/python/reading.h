#pragma once

#include <pybind11/pybind11.h>

namespace orv::python {

// orv.open, orv.Input, orv.Entry and what entries render into: orv.Frame, orv.Sound.
void BindReading(pybind11::module_& m);

}  // namespace orv::python
