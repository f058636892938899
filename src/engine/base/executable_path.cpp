#include "engine/base/executable_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace orv {

std::string RunningExecutablePath(const std::string& fallback)
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? fallback : path.string();
}

std::string FolderOf(std::string_view path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos) return "./";
    return std::string(path.substr(0, slash + 1));
}

namespace {

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

}  // namespace

std::string WindowDataFolder(const std::string& exeDir)
{
    const char* chosen = std::getenv("ORVCONV_HOME");
    const bool named = chosen != nullptr && *chosen != '\0';
    std::error_code error;
    if (!named && std::filesystem::exists(exeDir + kPortableMarker, error)) return exeDir;
    std::string folder = named ? chosen : HomeFolder() + "/orvconv";
    // A folder that cannot be made shows as the open error of the first file written.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    if (folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace orv
