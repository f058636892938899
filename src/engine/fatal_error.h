#pragma once

#include <stdexcept>
#include <string>

namespace orv {

// The one way the engine gives up. Only the front ends catch it: they show the
// text and end the process with exit code 1.
class FatalError : public std::runtime_error {
public:
    explicit FatalError(const std::string& text) : std::runtime_error(text) {}

    static FatalError OutOfMemory();
    static FatalError CannotOpen(const std::string& path);
    static FatalError CannotWrite(const std::string& path);
    static FatalError PngFailed(const std::string& path);
    static FatalError UnknownFormat(const std::string& path);
};

}  // namespace orv
