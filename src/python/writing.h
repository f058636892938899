#pragma once

#include <pybind11/pybind11.h>

namespace orv::python {

// orv.Writer (an archive built entry by entry, on a base archive or none) and
// orv.pack_folder (orvpack's work on a folder).
void BindWriting(pybind11::module_& m);

}  // namespace orv::python
