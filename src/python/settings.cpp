#include "python/settings.h"

#include <pybind11/stl/filesystem.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>

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

// The settings file at path (str, bytes or os.PathLike), checked as above.
std::shared_ptr<SettingsFile> Load(const py::object& given)
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
    if (py::isinstance<SettingsFile>(given)) return given.cast<std::shared_ptr<SettingsFile>>();
    return Load(given);
}

void BindSettings(py::module_& m)
{
    py::class_<SettingsFile, std::shared_ptr<SettingsFile>>(
        m, "Settings", "A settings file: how the frames of each animation are composed.")
        .def(py::init(&Load), py::arg("path"),
             "Reads the settings file at path: FileNotFoundError or IsADirectoryError when there is no "
             "file there, orv.SettingsError when it is there but cannot be read.")
        .def_static(
            "from_bytes",
            [](const py::bytes& text) {
                return std::shared_ptr<SettingsFile>(SettingsFile::FromBytes(std::string(text)));
            },
            py::arg("text"), "The settings held in text, as they would be read from a file.")
        .def(
            "value",
            [](const SettingsFile& settings, const std::string& section, const std::string& key) -> py::object {
                // No value of a line holds a NUL byte: one alone stands for a missing key.
                const std::string missing(1, '\0');
                std::string value = settings.TextValue(section, key, missing);
                if (value == missing) return py::none();
                return py::bytes(value);
            },
            py::arg("section"), py::arg("key"), "The value of key in section as bytes (letter case ignored), or None.");
}

}  // namespace orv::python
