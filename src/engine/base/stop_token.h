#pragma once

// The stop token conversion asks between entries. Where the standard library has
// <stop_token> (every native build) it is std's own. Where it lacks it (the libc++ of
// the WebAssembly build), a token that is never asked to stop: there a conversion runs
// on a worker of its own, and is stopped by ending that worker.
#include <version>

#if defined(__cpp_lib_jthread)

#include <stop_token>

namespace orv {
using StopToken = std::stop_token;
}  // namespace orv

#else

namespace orv {

class StopToken {
public:
    bool stop_requested() const noexcept { return false; }
};

}  // namespace orv

#endif
