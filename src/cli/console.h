#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "cli/progress_line.h"

namespace orv::cli {

// What a batch shows on the terminal, for any number of workers at once. The progress
// line counts inputs as they end and shows the entry counter and the output path of the
// input that reported last, both of that one input. Messages about an input go to stderr in command-line order: one
// waits until every earlier input has ended, so they read as a run in command-line order writes them, and none is shown
// for an input after one that ended in a fatal error. Each message is led by the program's name.
class Console {
public:
    Console(bool showProgress, std::size_t inputCount);

    // A worker starts an input: its entry counter and output path cleared.
    void InputStarted(std::size_t input);
    void SetEntryCounter(std::size_t input, const std::string& text);
    // Redraws at once, as the engine asks when an archive's entry count is known.
    void Repaint();
    void ShowOutputPath(std::size_t input, const std::string& path);
    // A pump point: redraws when it is due.
    void Refresh();

    void Message(std::size_t input, std::string text);
    // The input has ended: counted, and its messages released in turn.
    void InputEnded(std::size_t input);
    // The input ended in a fatal error.
    void InputFailed(std::size_t input);
    // After the batch: shows the messages still held back, then removes the line.
    void Close();
    // Shows text on a line of its own at once; allocates nothing.
    void ShowNow(const char* text);

private:
    // The line shows input's counter and path from now on.
    void Show(std::size_t input);
    void Print(const char* text);
    void ReleaseEnded();

    std::mutex mutex_;
    ProgressLine line_;
    const std::size_t total_;
    std::size_t endedCount_ = 0;
    std::vector<std::vector<std::string>> heldBack_;  // per input
    std::vector<std::string> entryCounters_;  // per input
    std::vector<std::string> outputPaths_;  // per input
    std::vector<bool> ended_;
    std::size_t released_ = 0;  // the messages of every input before it are shown
    std::size_t limit_;  // no message of this input or a later one is shown
};

}  // namespace orv::cli
