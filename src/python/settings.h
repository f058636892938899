#pragma once

#include <pybind11/pybind11.h>

#include <memory>

#include "settings/settings_file.h"

namespace orv::python {

// orv.Settings: a settings file, shared by the calls that compose frames with it.
void BindSettings(pybind11::module_& m);

// Settings given as an orv.Settings, a path of a settings file, or None (none).
std::shared_ptr<const SettingsFile> SettingsOf(const pybind11::object& given);

}  // namespace orv::python
