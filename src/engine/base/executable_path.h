#pragma once

#include <string>
#include <string_view>

namespace orv {

// The full path of the running executable; fallback when the system cannot tell.
std::string RunningExecutablePath(const std::string& fallback);

// The folder part of a path, ending in "/" ("./" for a bare name). Output folders
// and settings files live in the executable's folder found this way.
std::string FolderOf(std::string_view path);

// The folder the window keeps output folders and settings files in, ending in "/": the
// executable's folder where the user may write there; otherwise, as for an installed
// program, a folder of the user's own: $ORVCONV_HOME, else ~/orvconv/, made when missing.
std::string WindowDataFolder(const std::string& exeDir);

}  // namespace orv
