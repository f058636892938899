#pragma once

#include <pybind11/pybind11.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace orv::python {

// Ctrl-C during engine work that runs without the interpreter's lock. The work asks
// Stop() between frames, entries and chunks: it lets Python run its signal handlers (only
// the interpreter's main thread does), and once one raises (KeyboardInterrupt) tells the
// work to stop and keeps the exception, which Raise() raises again when the work is over.
// Handlers run at most once a millisecond: taking the interpreter's lock for them would
// cost more than small frames do.
class Interrupt {
public:
    // Safe to call from any thread, with or without the interpreter's lock.
    std::function<bool()> Stop();
    // What a file object's read raised that is no error of the file (KeyboardInterrupt,
    // SystemExit): kept to be raised in place of the failed read.
    void Keep(pybind11::error_already_set raised);
    // Raises what was kept, if anything; needs the interpreter's lock.
    void Raise();

private:
    std::mutex mutex_;
    std::shared_ptr<pybind11::error_already_set> raised_;
    std::atomic<bool> stopped_ = false;
    // When handlers last ran (steady clock, nanoseconds).
    std::atomic<std::int64_t> checked_ = 0;
};

}  // namespace orv::python
