#include "python/interrupt.h"

#include <chrono>
#include <utility>

namespace orv::python {

namespace py = pybind11;

std::function<bool()> Interrupt::Stop()
{
    return [this] {
        if (stopped_) return true;
        const std::int64_t now
            = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
                  .count();
        if (now - checked_.load() < std::int64_t{1'000'000}) return false;
        checked_ = now;
        const py::gil_scoped_acquire held;
        if (PyErr_CheckSignals() == 0) return false;
        Keep(py::error_already_set());
        return true;
    };
}

void Interrupt::Keep(py::error_already_set raised)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!raised_) raised_ = std::make_shared<py::error_already_set>(std::move(raised));
    stopped_ = true;
}

void Interrupt::Raise()
{
    std::shared_ptr<py::error_already_set> raised;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        raised = std::exchange(raised_, nullptr);
        stopped_ = false;
    }
    if (raised) throw py::error_already_set(*raised);
}

}  // namespace orv::python
