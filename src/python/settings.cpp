#include "python/settings.h"

#include <pybind11/stl/filesystem.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>

#include "python/bytes_like.h"
#include "python/errors.h"

namespace orv::python {

namespace py = pybind11;

void CheckSettingsPath(const std::string& path, const py::object& given)
{
    struct stat status { };
    if (stat(path.c_str(), &status) != 0) ThrowOsError(errno, given);
    if (S_ISDIR(status.st_mode)) ThrowOsError(EISDIR, given);
}

namespace {

// orv.Settings: the settings, and the path they were read from (None for bytes), which
// its repr shows.
struct Settings {
    std::shared_ptr<const SettingsFile> file;
    py::object path;
};

// The settings file at path (str, bytes or os.PathLike), checked as above.
std::shared_ptr<const SettingsFile> Load(const py::object& given)
{
    const std::string path = given.cast<std::filesystem::path>().string();
    CheckSettingsPath(path, given);
    const py::gil_scoped_release free;
    return SettingsFile::Load(path);
}

}  // namespace

std::shared_ptr<const SettingsFile> SettingsOf(const py::object& given)
{
    if (given.is_none()) return nullptr;
    if (py::isinstance<Settings>(given)) return given.cast<const Settings&>().file;
    return Load(given);
}

void BindSettings(py::module_& m)
{
    py::class_<Settings, std::shared_ptr<Settings>>(m, "Settings",
                                                    "A settings file: how the frames of each animation are composed.")
        .def(py::init([](const py::object& path) {
                 return Settings{Load(path), path};
             }),
             py::arg("path"),
             "Reads the settings file at path: FileNotFoundError or IsADirectoryError when there is no "
             "file there, orv.SettingsError when it is there but cannot be read.")
        .def_static(
            "from_bytes",
            [](const py::object& text) {
                return Settings{SettingsFile::FromBytes(BytesLike(text, "text")), py::none()};
            },
            py::arg("text"), "The settings held in text, as they would be read from a file.")
        .def(
            "value",
            [](const Settings& settings, const std::string& section, const std::string& key) -> py::object {
                // No value of a line holds a NUL byte: one alone stands for a missing key.
                const std::string missing(1, '\0');
                std::string value = settings.file->TextValue(section, key, missing);
                if (value == missing) return py::none();
                return py::bytes(value);
            },
            py::arg("section"), py::arg("key"), "The value of key in section as bytes (letter case ignored), or None.")
        .def_property_readonly(
            "path", [](const Settings& settings) { return settings.path; },
            "The path the settings were read from, as given; None for settings from bytes.")
        .def("__repr__", [](const Settings& settings) {
            if (settings.path.is_none()) return std::string("<orv.Settings from bytes>");
            return "<orv.Settings "
                + py::repr(py::module_::import("os").attr("fsdecode")(settings.path)).cast<std::string>() + ">";
        });
}

}  // namespace orv::python
