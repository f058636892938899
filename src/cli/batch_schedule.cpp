#include "cli/batch_schedule.h"

#include <algorithm>
#include <utility>

namespace orv::cli {

BatchSchedule::BatchSchedule(std::vector<std::vector<std::size_t>> mustEndFirst) :
    mustEndFirst_(std::move(mustEndFirst)),
    states_(mustEndFirst_.size(), State::Waiting),
    results_(mustEndFirst_.size(), ConvertResult::Skipped)
{ }

bool BatchSchedule::Ready(std::size_t input) const
{
    return std::all_of(mustEndFirst_[input].begin(), mustEndFirst_[input].end(),
                       [&](std::size_t earlier) { return states_[earlier] == State::Ended; });
}

std::optional<std::size_t> BatchSchedule::Next()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        if (interrupted_.load()) return std::nullopt;
        while (firstWaiting_ < states_.size() && states_[firstWaiting_] != State::Waiting) ++firstWaiting_;
        // Inputs after a failed one are never handed over.
        const std::size_t end = std::min(states_.size(), firstFailed_.load());
        bool waiting = false;
        for (std::size_t input = firstWaiting_; input < end; ++input) {
            if (states_[input] != State::Waiting) continue;
            if (Ready(input)) {
                states_[input] = State::Running;
                ++running_;
                return input;
            }
            waiting = true;
        }
        // Only an input under way can make a waiting one ready.
        if (!waiting || running_ == 0) return std::nullopt;
        changed_.wait(lock);
    }
}

void BatchSchedule::Finish(std::size_t input, ConvertResult result, bool pastEnd)
{
    {
        std::lock_guard lock(mutex_);
        states_[input] = State::Ended;
        results_[input] = result;
        anyNotOpened_ = anyNotOpened_ || result == ConvertResult::NotOpened;
        anyPastEnd_ = anyPastEnd_ || pastEnd;
        --running_;
    }
    changed_.notify_all();
}

void BatchSchedule::Fail(std::size_t input, const FatalError& error)
{
    {
        std::lock_guard lock(mutex_);
        states_[input] = State::Ended;
        --running_;
        if (input < firstFailed_.load()) {
            firstFailed_.store(input);
            fatal_ = error;
        }
    }
    changed_.notify_all();
}

void BatchSchedule::Interrupt()
{
    {
        std::lock_guard lock(mutex_);
        interrupted_.store(true);
    }
    changed_.notify_all();
}

std::optional<FatalError> BatchSchedule::Fatal() const
{
    std::lock_guard lock(mutex_);
    return fatal_;
}

bool BatchSchedule::Stopped() const
{
    std::lock_guard lock(mutex_);
    return StoppedLocked();
}

bool BatchSchedule::StoppedLocked() const
{
    return interrupted_.load()
        && (std::find(results_.begin(), results_.end(), ConvertResult::Cancelled) != results_.end()
            || std::find(states_.begin(), states_.end(), State::Waiting) != states_.end());
}

bool BatchSchedule::AnyNotOpened() const
{
    std::lock_guard lock(mutex_);
    return anyNotOpened_;
}

bool BatchSchedule::AnyConverted() const
{
    std::lock_guard lock(mutex_);
    for (std::size_t input = 0; input < states_.size(); ++input) {
        if (states_[input] == State::Ended
            && (results_[input] == ConvertResult::Finished || results_[input] == ConvertResult::Cancelled))
            return true;
    }
    return false;
}

bool BatchSchedule::AnyPastEnd() const
{
    std::lock_guard lock(mutex_);
    return anyPastEnd_;
}

ConvertResult BatchSchedule::Outcome() const
{
    std::lock_guard lock(mutex_);
    if (StoppedLocked()) return ConvertResult::Cancelled;
    for (std::size_t input = states_.size(); input > 0; --input) {
        if (states_[input - 1] == State::Ended) return results_[input - 1];
    }
    return ConvertResult::Skipped;
}

}  // namespace orv::cli
