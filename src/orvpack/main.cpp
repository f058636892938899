// orvpack: builds a pack archive from a folder of converted files.
#include <csignal>
#include <cstdio>
#include <new>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "engine/base/fatal_error.h"
#include "orvpack/pack_options.h"
#include "pack/files/pack_error.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;

volatile std::sig_atomic_t stopSignal = 0;

// The archive being written is abandoned at the next chunk or entry: its temporary file
// goes, and the name keeps what it held.
void OnStopSignal(int number)
{
    if (stopSignal == 0) stopSignal = number;
}

// Each picture takes blocks of a few MiB for its pixels and its plan. They are kept in the
// process for the next picture instead of going back to the system and being faulted in
// anew, which took a sixth of the time a folder of 640x480 pictures packs in.
void KeepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

void InstallStopHandler()
{
    struct sigaction action { };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

int Run(int argc, const char* const* argv)
{
    const orv::packcli::PackParseOutcome parsed = orv::packcli::ParsePackOptions(argc, argv);
    if (!parsed.options) return parsed.exitCode;
    orv::packcli::PackCliOptions options = *parsed.options;
    KeepFreedMemory();
    InstallStopHandler();
    options.pack.stop = [] { return stopSignal != 0; };
    // A file-size limit then fails the write, which is reported, instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const auto note = [&options](const std::string& text) {
        if (!options.quiet) std::fprintf(stderr, "orvpack: %s\n", text.c_str());
    };
    try {
        orv::pack::PackFolder(options.pack, note);
    } catch (const orv::pack::PackError& error) {
        std::fprintf(stderr, "orvpack: %s; no archive written\n", error.what());
        // As a shell reports a process a signal ended.
        return stopSignal != 0 ? 128 + stopSignal : kExitFailed;
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
