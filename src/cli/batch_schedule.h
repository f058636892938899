#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

#include "engine/convert/convert_result.h"
#include "engine/base/fatal_error.h"

namespace orv::cli {

// Hands the inputs of a batch to the workers and keeps what became of each; safe for
// any number of workers at once. An input is handed over once every input it must wait
// for has ended, the earliest such input first. Nothing more is handed over once Ctrl-C
// was seen, and nothing after an input that ended in a fatal error: inputs before it are
// still converted completely, as a run in command-line order would have done before
// reaching it.
class BatchSchedule {
public:
    // mustEndFirst[k]: the earlier inputs that input k waits for.
    explicit BatchSchedule(std::vector<std::vector<std::size_t>> mustEndFirst);

    // The next input to convert; waits while every input left waits for one under way.
    // None when nothing more will be handed over.
    std::optional<std::size_t> Next();
    // How a handed-over input ended, and whether it reached past the end of its file.
    void Finish(std::size_t input, ConvertResult result, bool pastEnd = false);
    // A handed-over input ended in this fatal error. Never allocates.
    void Fail(std::size_t input, const FatalError& error);
    // Ctrl-C was seen.
    void Interrupt();

    // Whether the conversion of input stops at its next pump point: after Ctrl-C, and
    // for inputs after one that ended in a fatal error.
    bool MustStop(std::size_t input) const { return interrupted_.load() || input > firstFailed_.load(); }

    // Once the workers are done:
    // The error of the earliest input that ended in a fatal error, if any did.
    std::optional<FatalError> Fatal() const;
    // Whether Ctrl-C left work undone: an input cut short, or one never handed over.
    bool Stopped() const;
    // Whether an input could not be opened.
    bool AnyNotOpened() const;
    // Whether an input was converted, wholly or until stopped.
    bool AnyConverted() const;
    // Whether an input reached past the end of its file.
    bool AnyPastEnd() const;
    // The result the final message follows: Cancelled when the batch was stopped,
    // otherwise that of the last input handed over (Skipped when none was).
    ConvertResult Outcome() const;

private:
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    enum class State { Waiting, Running, Ended };

    // Whether every input that input waits for has ended.
    bool Ready(std::size_t input) const;
    bool StoppedLocked() const;

    const std::vector<std::vector<std::size_t>> mustEndFirst_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<State> states_;
    std::vector<ConvertResult> results_;
    bool anyNotOpened_ = false;
    bool anyPastEnd_ = false;
    std::size_t firstWaiting_ = 0;  // no input before it is still waiting
    std::size_t running_ = 0;
    std::optional<FatalError> fatal_;
    std::atomic<bool> interrupted_{false};
    std::atomic<std::size_t> firstFailed_{kNone};
};

}  // namespace orv::cli
