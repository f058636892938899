#include "cli/batch.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <system_error>
#include <thread>

#include "cli/batch_schedule.h"
#include "cli/console.h"
#include "cli/console_status_view.h"
#include "engine/converter.h"
#include "engine/fatal_error.h"
#include "cli/interrupt.h"
#include "cli/output_conflicts.h"

namespace orv::cli {

namespace {

// One worker: an engine of its own converts the inputs the schedule hands it. Whatever
// an input throws, memory running out included, ends that input and no other.
void Work(const CliOptions& options, BatchSchedule& schedule, Console& console)
{
    ConsoleStatusView view(console, schedule);
    Converter converter(view);
    view.StopThrough(converter.cancelRequested);

    // Showing and keeping the error allocate nothing, so it is kept even when memory
    // has run out.
    auto fail = [&](std::size_t input, const FatalError& error) {
        console.InputFailed(input);
        schedule.Fail(input, error);
    };
    while (const std::optional<std::size_t> input = schedule.Next()) {
        try {
            view.StartInput(*input);
            converter.options = options.batch;
            converter.cancelRequested = false;
            converter.srcPath = options.files[*input];
            const ConvertResult result = converter.ConvertInputFile();
            view.PumpEvents();  // the pump after each input, where Ctrl-C also stops the batch
            console.InputEnded(*input);
            schedule.Finish(*input, result, view.InputNotOpened());
        } catch (const FatalError& error) {
            fail(*input, error);
        } catch (const std::bad_alloc&) {
            fail(*input, FatalError::OutOfMemory());
        }
    }
}

}  // namespace

int RunBatch(const CliOptions& options)
{
    BatchSchedule schedule(EarlierConflicts(options.files, options.batch.exeDir));
    Console console(!options.quiet, options.files.size());
    const std::size_t workers
        = std::clamp<std::size_t>(options.jobs, 1, std::max<std::size_t>(options.files.size(), 1));
    {
        std::vector<std::jthread> helpers;
        try {
            helpers.reserve(workers);
            while (helpers.size() + 1 < workers) helpers.emplace_back([&] { Work(options, schedule, console); });
        } catch (const std::system_error&) {
            // No more threads to be had: the workers that started carry the batch.
        } catch (const std::bad_alloc&) {
            // Likewise when there is no memory for another one.
        }
        Work(options, schedule, console);
    }
    console.Close();

    if (const std::optional<FatalError> fatal = schedule.Fatal()) {
        console.ShowNow(fatal->what());
        return kExitFatal;
    }
    const ConvertResult outcome = schedule.Outcome();
    if (!options.quiet && outcome != ConvertResult::Skipped) {
        std::puts(outcome == ConvertResult::Finished ? "変換終了しました。" : "変換中止しました。");
        std::fflush(stdout);
    }
    if (schedule.Stopped()) return 128 + InterruptSignal();
    return schedule.AnyNotOpened() ? kExitNotOpened : kExitDone;
}

}  // namespace orv::cli
