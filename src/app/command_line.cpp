#include "app/command_line.h"

#include <cstdio>
#include <cstring>
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

std::optional<int> AnswerInformationRequest(int argc, char** argv)
{
    if (argc != 2) return std::nullopt;
    const char* option = argv[1];
    if (std::strcmp(option, "--version") == 0 || std::strcmp(option, "-V") == 0) {
        std::puts("orvconv " ORVCONV_VERSION);
        return 0;
    }
    if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
        std::puts("Usage: orvconv [FILE...]\n"
                  "Opens the window that converts ORVENDA 3.2 pack archives (.dat) and animations (.ani)\n"
                  "into BMP, PNG, WAV and raw files. FILEs given are converted as one batch, as if chosen\n"
                  "in the window's file dialog.\n\n"
                  "  -h, --help     show this text\n"
                  "  -V, --version  show the version\n\n"
                  "Output folders and settings files (*.ini) are beside the executable where it may be\n"
                  "written, else in ~/orvconv/ ($ORVCONV_HOME names another folder).");
        return 0;
    }
    return std::nullopt;
}

}  // namespace orv::app
