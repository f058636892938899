#pragma once

#include <pybind11/pybind11.h>

#include <memory>
#include <string>

#include "settings/settings_file.h"

namespace orv::python {

// orv.Settings: a settings file, shared by the calls that compose frames with it.
void BindSettings(pybind11::module_& m);

// As orvconv-cli's -s: a settings path (bytes; given as the caller named it) where nothing
// is, or a folder, is FileNotFoundError or IsADirectoryError naming it, never settings
// without sections.
void CheckSettingsPath(const std::string& path, const pybind11::object& given);

// Settings given as an orv.Settings, a path of a settings file, or None (none).
std::shared_ptr<const SettingsFile> SettingsOf(const pybind11::object& given);

}  // namespace orv::python
