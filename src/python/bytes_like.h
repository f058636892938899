#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace orv::python {

// The bytes of any bytes-like object (bytes, bytearray, memoryview, a contiguous array),
// as Python's own functions take them; TypeError naming what for anything else.
std::string BytesLike(const pybind11::handle& given, const char* what);

}  // namespace orv::python
