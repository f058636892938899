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
    explicit FatalError(const std::string& text);

    // The message as the window shows it.
    const char* what() const noexcept override { return text_; }
    // The same lines for a terminal: the path they name followed by the system's reason
    // for the failure, where the system gave one.
    const char* detailed() const noexcept { return detailed_; }

    // Never allocates: it is raised when memory has run out.
    static FatalError OutOfMemory() noexcept;
    // The paths in these texts have their control bytes shown as "%XX"; error is the
    // system's error number (errno), 0 where there is none.
    static FatalError CannotOpen(const std::string& path, int error = 0);
    static FatalError CannotMakeFolder(const std::string& path, int error = 0);
    static FatalError CannotRead(const std::string& path, int error = 0);
    static FatalError CannotWrite(const std::string& path, int error);
    // Where the reason is not known, as when a finished file cannot be put in place.
    static FatalError CannotWrite(const std::string& path);
    static FatalError PngFailed(const std::string& path);
    static FatalError UnknownFormat(const std::string& path);

private:
    struct Fixed { };
    FatalError(Fixed, const char* text) noexcept : text_(text), detailed_(text) { }
    struct Texts {
        std::string text;
        std::string detailed;
    };
    explicit FatalError(std::shared_ptr<const Texts> texts) noexcept;
    static FatalError WithPath(const char* what, const std::string& path, int error);

    std::shared_ptr<const Texts> owned_;
    const char* text_;
    const char* detailed_;
};

// The system's reason for a failure with error number error (strerror), and "not a
// regular file" for 0, which an open of anything else gives.
std::string SystemReason(int error);

// The message, not fatal, for an input file that cannot be opened (control bytes
// shown as "%XX"); with error, the system's reason follows the name.
std::string CannotOpenInputText(std::string_view srcName);
std::string CannotOpenInputText(std::string_view path, int error);

// The note for an animated GIF some frame of which held more than 256 colours and was
// reduced (control bytes shown as "%XX").
std::string ReducedColoursText(const std::string& path);

// The note for a picture 0 pixels wide or high, which a PNG cannot hold, written as BMP
// under the PNG output mode (control bytes shown as "%XX").
std::string EmptyPictureAsBmpText(const std::string& path);

// The note for an output file that a later entry of the same input wrote again: what the
// earlier and the later writer were (control bytes shown as "%XX").
std::string ReplacedOutputText(const std::string& path, const std::string& earlier, const std::string& later);

}  // namespace orv
