#include "desktop/command_line.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace orv::desktop {

namespace {

// Whether an argument before "--" is an option: "-" alone names a file.
bool IsOption(const char* argument)
{
    return argument[0] == '-' && argument[1] != '\0';
}

bool Is(const char* argument, const char* shortName, const char* longName)
{
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

}  // namespace

CommandLine ReadCommandLine(int argc, char** argv, const ProgramTexts& program)
{
    CommandLine line;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        if (options && std::strcmp(argv[i], "--") == 0) {
            options = false;
            continue;
        }
        if (options && IsOption(argv[i])) {
            line.usageError = std::string(program.name) + ": unknown option " + argv[i] + "\nusage: " + program.name
                + " " + program.usage + "   (" + program.name + " --help for more)";
            line.files.clear();
            return line;
        }
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(argv[i], error);
        // Without a current folder the name goes on as given; opening it then fails with a message.
        line.files.push_back(error ? std::string(argv[i]) : full.string());
    }
    return line;
}

std::optional<int> AnswerInformationRequest(int argc, char** argv, const ProgramTexts& program)
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (Is(argv[i], "-V", "--version")) {
            std::printf("%s %s\n", program.name, ORVCONV_VERSION);
            return 0;
        }
        if (Is(argv[i], "-h", "--help")) {
            std::printf("Usage: %s %s\n%s\n", program.name, program.usage, program.help);
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace orv::desktop
