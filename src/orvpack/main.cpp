// orvpack: builds a pack archive from a folder of converted files.
#include <csignal>
#include <cstdio>
#include <new>

#include "engine/base/fatal_error.h"
#include "orvpack/pack_options.h"
#include "pack/pack_error.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;

int Run(int argc, const char* const* argv)
{
    const orv::packcli::PackParseOutcome parsed = orv::packcli::ParsePackOptions(argc, argv);
    if (!parsed.options) return parsed.exitCode;
    const orv::packcli::PackCliOptions& options = *parsed.options;
    // A file-size limit then fails the write, which is reported, instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const auto note = [&options](const std::string& text) {
        if (!options.quiet) std::fprintf(stderr, "orvpack: %s\n", text.c_str());
    };
    try {
        orv::pack::PackFolder(options.pack, note);
    } catch (const orv::pack::PackError& error) {
        std::fprintf(stderr, "orvpack: %s; no archive written\n", error.what());
        return kExitFailed;
    } catch (const orv::FatalError& error) {
        std::fprintf(stderr, "orvpack: %s\n", error.what());
        return kExitFailed;
    }
    return kExitDone;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "orvpack: %s\n", orv::FatalError::OutOfMemory().what());
        return kExitFailed;
    }
}
