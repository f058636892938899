#pragma once

// The stop token conversion asks between entries. Where the standard library has
// <stop_token> (every native build) it is std's own; where it lacks it (the libc++ of
// the WebAssembly build), a minimal one with the same names and meaning: a source and
// its tokens share one flag.
#include <version>

#if defined(__cpp_lib_jthread)

#include <stop_token>

namespace orv {
using StopToken = std::stop_token;
using StopSource = std::stop_source;
}  // namespace orv

#else

#include <atomic>
#include <memory>

namespace orv {

class StopToken {
public:
    StopToken() = default;
    bool stop_requested() const noexcept { return flag_ && flag_->load(std::memory_order_acquire); }
    bool stop_possible() const noexcept { return flag_ != nullptr; }

private:
    friend class StopSource;
    explicit StopToken(std::shared_ptr<std::atomic<bool>> flag) : flag_(std::move(flag)) { }
    std::shared_ptr<std::atomic<bool>> flag_;
};

class StopSource {
public:
    StopToken get_token() const noexcept { return StopToken(flag_); }
    bool stop_requested() const noexcept { return flag_->load(std::memory_order_acquire); }
    // True when this call asked for the stop, false when it had been asked before.
    bool request_stop() noexcept { return !flag_->exchange(true, std::memory_order_acq_rel); }

private:
    std::shared_ptr<std::atomic<bool>> flag_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace orv

#endif
