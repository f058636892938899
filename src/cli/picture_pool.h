#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

#include "engine/output/task_runner.h"

namespace orv::cli {

// The pictures every input of a run has finished, written by whichever of the run's
// threads is free: one with no input left to convert, or one whose input waits for its
// pictures. So the run never has more threads than -j asks for, whether they convert
// many inputs or one.
class PicturePool final : public TaskRunner {
public:
    void Submit(Task& task) override;
    bool RunOne() override;

    // A thread starts or ends converting inputs; more pictures may come while any does.
    void ConverterStarted();
    void ConverterEnded();
    // Writes pictures as they come until no thread converts inputs and none is left.
    void Serve();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task*> tasks_;
    std::size_t converters_ = 0;
};

}  // namespace orv::cli
