#pragma once

#include <string>
#include <string_view>

namespace orv {

// The full path of the running executable; fallback when the system cannot tell.
std::string RunningExecutablePath(const std::string& fallback);

// The folder part of a path, ending in "/" ("./" for a bare name). Output folders
// and settings files live in the executable's folder found this way.
std::string FolderOf(std::string_view path);

// The file whose presence beside the executable makes its folder a portable setup, as
// the build tree is: output folders and settings files then live there.
inline constexpr const char* kPortableMarker = "orvconv.portable";

// The folder the window keeps output folders and settings files in, ending in "/":
// $ORVCONV_HOME when set; else the executable's folder in a portable setup; else, as for
// an installed program (even one its user may write beside, as root may), ~/orvconv/.
// The folder is made when missing.
std::string WindowDataFolder(const std::string& exeDir);

}  // namespace orv
