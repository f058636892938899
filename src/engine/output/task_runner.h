#pragma once

namespace orv {

// Work that may run on a thread other than the one that made it.
class Task {
public:
    // Runs once; reports failure through the task's own state, never by throwing.
    virtual void Run() noexcept = 0;

protected:
    ~Task() = default;
};

// Runs tasks on threads of its own choosing. A converter hands it the pictures it has
// finished so that they are encoded and written while it decodes the next ones.
class TaskRunner {
public:
    virtual ~TaskRunner() = default;

    // Runs task once, on some thread, soon. The task must outlive its run.
    virtual void Submit(Task& task) = 0;
    // Runs one submitted task that no thread has started yet, on the calling thread, so
    // that a thread waiting for tasks to finish helps instead of idling; false when no
    // task is waiting.
    virtual bool RunOne() = 0;
};

}  // namespace orv
