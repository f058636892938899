#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace orv::python {

// orv.Error and its kinds, and the translation of the engine's and orvpack's exceptions
// into them, carrying the same texts.
void BindErrors(pybind11::module_& m);

// orv.NotAnInputError with text.
[[noreturn]] void ThrowNotAnInput(const std::string& text);

}  // namespace orv::python
