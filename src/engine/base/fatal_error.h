#pragma once

#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace orv {

// The one way the engine gives up. Only the front ends catch it: they show the
// text and end the process with exit code 1. Copies share the text, so a caught
// error can be passed on and stored without allocating.
class FatalError : public std::exception {
public:
    explicit FatalError(std::string text);

    const char* what() const noexcept override { return text_; }

    // Never allocates: it is raised when memory has run out.
    static FatalError OutOfMemory() noexcept;
    // The paths in these texts have their control bytes shown as "%XX".
    static FatalError CannotOpen(const std::string& path);
    static FatalError CannotMakeFolder(const std::string& path);
    static FatalError CannotRead(const std::string& path);
    static FatalError CannotWrite(const std::string& path);
    static FatalError PngFailed(const std::string& path);
    static FatalError UnknownFormat(const std::string& path);

private:
    struct Fixed { };
    FatalError(Fixed, const char* text) noexcept : text_(text) { }

    std::shared_ptr<const std::string> owned_;
    const char* text_;
};

// The message, not fatal, for an input file that cannot be opened (control bytes
// shown as "%XX").
std::string CannotOpenInputText(std::string_view srcName);

// The note for an animated GIF some frame of which held more than 256 colours and was
// reduced (control bytes shown as "%XX").
std::string ReducedColoursText(const std::string& path);

// The note for an output file that a later entry of the same input wrote again: what the
// earlier and the later writer were (control bytes shown as "%XX").
std::string ReplacedOutputText(const std::string& path, const std::string& earlier, const std::string& later);

}  // namespace orv
