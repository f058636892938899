#include <pybind11/pybind11.h>

#include "python/errors.h"
#include "python/pixels.h"
#include "python/reading.h"
#include "python/settings.h"
#include "python/writing.h"

PYBIND11_MODULE(_orv, m)
{
    m.doc() = "Pack archives (.dat) and animation files (.ani): read every entry as conversion writes it, "
              "build archives as orvpack does.";
    m.attr("__version__") = ORVCONV_VERSION;
    // Bound under the package's name, which re-exports them: classes and functions then
    // read orv.Input, not orv._orv.Input, in reprs and in the signatures help() and
    // argument errors show.
    const pybind11::object name = m.attr("__name__");
    m.attr("__name__") = "orv";
    orv::python::BindErrors(m);
    orv::python::BindPixels(m);
    orv::python::BindSettings(m);
    orv::python::BindReading(m);
    orv::python::BindWriting(m);
    m.attr("__name__") = name;
}
