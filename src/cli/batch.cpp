#include "cli/batch.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <system_error>
#include <thread>

#include "cli/batch_schedule.h"
#include "cli/console.h"
#include "cli/console_status_view.h"
#include "cli/descriptor_limit.h"
#include "engine/convert/converter.h"
#include "engine/base/fatal_error.h"
#include "cli/interrupt.h"
#include "cli/output_conflicts.h"
#include "cli/picture_pool.h"
#include "engine/read/input_messages.h"

namespace orv::cli {

namespace {

// One worker: an engine of its own converts the inputs the schedule hands it, its
// pictures written through pictureWriters. Whatever an input throws, memory running
// out included, ends that input and no other.
void Work(const CliOptions& options, BatchSchedule& schedule, Console& console, TaskRunner* pictureWriters)
{
    ConsoleStatusView view(console, schedule);
    Converter converter(view);
    converter.pictureWriters = pictureWriters;

    // Showing and keeping the error allocate nothing, so it is kept even when memory
    // has run out.
    auto fail = [&](std::size_t input, const FatalError& error) {
        console.InputFailed(input);
        schedule.Fail(input, error);
    };
    while (const std::optional<std::size_t> input = schedule.Next()) {
        try {
            converter.stopToken = view.StartInput(*input);
            converter.options = options.batch;
            converter.srcPath = options.files[*input];
            const ConvertResult result = converter.ConvertInputFile();
            view.PumpEvents();  // the pump after each input, where Ctrl-C also stops the batch
            if (converter.inputPastEnd) console.Message(*input, PastEndText(options.files[*input]));
            console.InputEnded(*input);
            schedule.Finish(*input, result, converter.inputPastEnd);
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
    // -j threads in all (no more than the descriptors allow): one per input up to that
    // number, the rest writing pictures, no more of them than there can be pictures
    // waiting. A single thread writes each picture itself, at once.
    const std::size_t jobs = std::min<std::size_t>(options.jobs, ThreadsWithinDescriptorLimit());
    const std::size_t converters = std::clamp<std::size_t>(jobs, 1, std::max<std::size_t>(options.files.size(), 1));
    const std::size_t threads = std::clamp<std::size_t>(jobs, 1, converters * (OutputQueue::kMaxWaitingPictures + 1));
    PicturePool pool;
    TaskRunner* const pictureWriters = threads > 1 ? &pool : nullptr;
    auto convert = [&] {
        Work(options, schedule, console, pictureWriters);
        pool.ConverterEnded();
        pool.Serve();
    };
    {
        std::vector<std::jthread> helpers;
        pool.ConverterStarted();  // this thread
        try {
            helpers.reserve(threads);
            while (helpers.size() + 1 < threads) {
                if (helpers.size() + 1 < converters) {
                    pool.ConverterStarted();
                    try {
                        helpers.emplace_back(convert);
                    } catch (...) {
                        pool.ConverterEnded();
                        throw;
                    }
                } else {
                    helpers.emplace_back([&] { pool.Serve(); });
                }
            }
        } catch (const std::system_error&) {
            // No more threads to be had: the threads that started carry the batch.
        } catch (const std::bad_alloc&) {
            // Likewise when there is no memory for another one.
        }
        convert();
    }
    console.Close();

    if (const std::optional<FatalError> fatal = schedule.Fatal()) {
        console.ShowNow(fatal->detailed());
        return kExitFatal;
    }
    const std::optional<std::string_view> message = FinalMessage(schedule.Outcome());
    if (!options.quiet && message) {
        std::fwrite(message->data(), 1, message->size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    if (schedule.Stopped()) return 128 + InterruptSignal();
    if (schedule.AnyNotOpened()) return kExitNotOpened;
    if (!schedule.AnyConverted()) return kExitNothingConverted;
    return schedule.AnyPastEnd() ? kExitPastEnd : kExitDone;
}

}  // namespace orv::cli
