// orvconv-cli: the conversion engine behind a terminal.
#include <csignal>
#include <cstdio>
#include <memory>
#include <new>

#include "batch.h"
#include "cli_options.h"
#include "executable_path.h"
#include "fatal_error.h"
#include "interrupt.h"
#include "listing.h"
#include "settings_file.h"

namespace {

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

int main(int argc, char** argv)
{
    const orv::cli::ParseOutcome parsed = orv::cli::ParseCliOptions(argc, argv);
    if (!parsed.options) return parsed.exitCode;
    const orv::cli::CliOptions& options = *parsed.options;

    // A file-size limit then fails the write, which the engine reports, instead of
    // killing the process silently.
    std::signal(SIGXFSZ, SIG_IGN);

    if (options.list) {
        for (const std::string& path : options.files) orv::cli::ListInputFile(path, stdout, stderr);
        return 0;
    }

    orv::cli::BatchOptions batch;
    batch.exeDir = options.outputRoot.empty() ? orv::FolderOf(orv::RunningExecutablePath(argv[0])) : WithTrailingSlash(options.outputRoot);
    batch.outputMode = options.outputMode;
    batch.aniRaw = options.aniRaw;
    batch.jobs = options.jobs;
    batch.quiet = options.quiet;
    // The settings file is read whole before anything is converted; a file that
    // exists but cannot be read stops the run before it starts.
    std::unique_ptr<orv::SettingsFile> settings;
    if (!options.settingsPath.empty()) {
        try {
            settings = orv::SettingsFile::Load(options.settingsPath);
        } catch (const orv::SettingsError& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "%s\n", orv::FatalError::OutOfMemory().what());
            return 1;
        }
        batch.settings = settings.get();
    }
    orv::cli::InstallInterruptHandler();
    try {
        return orv::cli::RunBatch(batch, options.files);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s\n", orv::FatalError::OutOfMemory().what());
        return 1;
    }
}
