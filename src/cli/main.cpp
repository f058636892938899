// orvconv-cli: the conversion engine behind a terminal.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <new>

#include "cli/batch.h"
#include "cli/cli_options.h"
#include "cli/descriptor_limit.h"
#include "engine/base/fatal_error.h"
#include "cli/message_prefix.h"
#include "engine/io/file_identity.h"
#include "cli/interrupt.h"
#include "cli/listing.h"
#include "settings/settings_file.h"
#include "cli/standard_streams.h"

namespace {

void ShowError(const char* text)
{
    std::fprintf(stderr, "%s%s\n", orv::cli::kMessagePrefix, text);
}

// The folder output folders are made in, ending in "/": DIR, made with its parents by
// the first input that writes into it, or the current folder ("") without -o, as
// extractors do.
std::string OutputRoot(const std::string& dir)
{
    return dir.empty() || dir.back() == '/' ? dir : dir + '/';
}

// Lists every input; an input the tables of which cannot be read ends the run, as it
// would end a conversion.
int ListInputs(const std::vector<std::string>& files)
{
    bool anyNotOpened = false;
    bool anyPastEnd = false;
    bool anyListed = false;
    // Several inputs: each listing under a heading naming its input, a blank line between
    // listings, as head does.
    const bool headings = files.size() > 1;
    try {
        for (const std::string& path : files) {
            using orv::cli::Heading;
            const Heading heading = !headings ? Heading::None : anyListed ? Heading::Later : Heading::First;
            const orv::cli::ListResult result = orv::cli::ListInputFile(path, stdout, stderr, heading);
            anyNotOpened = anyNotOpened || result == orv::cli::ListResult::NotOpened;
            anyPastEnd = anyPastEnd || result == orv::cli::ListResult::PastEnd;
            anyListed = anyListed || result == orv::cli::ListResult::Listed || result == orv::cli::ListResult::PastEnd;
        }
    } catch (const orv::FatalError& error) {
        std::fflush(stdout);
        ShowError(error.detailed());
        return orv::cli::kExitFatal;
    } catch (const std::bad_alloc&) {
        std::fflush(stdout);
        ShowError(orv::FatalError::OutOfMemory().what());
        return orv::cli::kExitFatal;
    }
    if (anyNotOpened) return orv::cli::kExitNotOpened;
    if (!anyListed) return orv::cli::kExitNothingConverted;
    return anyPastEnd ? orv::cli::kExitPastEnd : orv::cli::kExitDone;
}

// What stdout could not take is a failure too, whatever else went right.
int CheckedStdout(int exitCode)
{
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return exitCode;
    std::fprintf(stderr, "%scannot write to standard output: %s\n", orv::cli::kMessagePrefix,
                 orv::SystemReason(errno).c_str());
    using namespace orv::cli;
    const bool ranToItsEnd = exitCode == kExitDone || exitCode == kExitNotOpened || exitCode == kExitNothingConverted
        || exitCode == kExitPastEnd;
    return ranToItsEnd ? kExitFatal : exitCode;
}

int Run(int argc, const char* const* argv)
{
    orv::cli::ParseOutcome parsed = orv::cli::ParseCliOptions(argc, argv);
    if (!parsed.options) return parsed.exitCode;
    orv::cli::CliOptions& options = *parsed.options;

    // A file-size limit then fails the write, which the engine reports, instead of
    // killing the process silently.
    std::signal(SIGXFSZ, SIG_IGN);

    if (options.list) return ListInputs(options.files);

    options.batch.exeDir = OutputRoot(options.outputRoot);
    options.batch.batchInputs = orv::IdentitiesOf(options.files);
    // The settings file is read whole before anything is converted; a file that
    // exists but cannot be read stops the run before it starts.
    std::unique_ptr<orv::SettingsFile> settings;
    if (!options.settingsPath.empty()) {
        try {
            settings = orv::SettingsFile::Load(options.settingsPath);
        } catch (const orv::SettingsError& error) {
            ShowError(error.what());
            return orv::cli::kExitFatal;
        }
        options.batch.iniFile = settings.get();
    }
    orv::cli::InstallInterruptHandler();
    return orv::cli::RunBatch(options);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!orv::cli::OpenMissingStandardStreams()) return orv::cli::kExitFatal;
    // A reader that goes away (`| head`) must not end the batch: a message it no longer
    // takes is dropped, and stdout that cannot be written shows in the exit status.
    std::signal(SIGPIPE, SIG_IGN);
    orv::cli::RaiseDescriptorLimit();
    try {
        return CheckedStdout(Run(argc, argv));
    } catch (const std::bad_alloc&) {
        ShowError(orv::FatalError::OutOfMemory().what());
        return orv::cli::kExitFatal;
    }
}
