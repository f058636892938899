#include "command_line.h"

#include <filesystem>
#include <system_error>

namespace orv::app {

std::vector<std::string> FilesFromArguments(int argc, char** argv)
{
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(argv[i], error);
        // Without a current folder the name goes on as given; opening it then fails with a message.
        paths.push_back(error ? std::string(argv[i]) : full.string());
    }
    return paths;
}

}  // namespace orv::app
