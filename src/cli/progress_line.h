#pragma once

#include <atomic>
#include <chrono>
#include <string>

namespace orv::cli {

// The one status line on stderr, redrawn in place when stderr is a terminal (and never
// otherwise): the file counter, the entry counter and the end of the output path that
// fits the terminal's width.
class ProgressLine {
public:
    explicit ProgressLine(bool wanted);

    void SetFileCounter(std::string text) { fileCounter_ = std::move(text); }
    void SetEntryCounter(std::string text) { entryCounter_ = std::move(text); }
    void SetOutputPath(std::string path) { outputPath_ = std::move(path); }
    // Redraws; unless forced, at most once every 50 ms.
    void Draw(bool force);
    // Removes the line so that ordinary output starts on a clean line.
    void Clear();

    // Removes whatever line is on screen, from a signal handler that ends the process:
    // the shell's prompt then starts on a clean line. Async-signal-safe.
    static void ClearForExit() noexcept;

private:
    void SetOnScreen(bool onScreen);

    bool shown_;
    bool onScreen_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
    std::string fileCounter_;
    std::string entryCounter_;
    std::string outputPath_;
};

}  // namespace orv::cli
