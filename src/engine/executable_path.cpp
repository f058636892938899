#include "executable_path.h"

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

}  // namespace orv
