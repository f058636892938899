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
    orv::python::BindErrors(m);
    orv::python::BindPixels(m);
    orv::python::BindSettings(m);
    orv::python::BindReading(m);
    orv::python::BindWriting(m);
}
