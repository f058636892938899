#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "status_view.h"

namespace orv::cli {

// The engine's status on a terminal: one progress line on stderr, redrawn in place
// (only when stderr is a terminal), messages as lines on stderr, Ctrl-C as Stop.
class ConsoleStatusView : public StatusView {
public:
    explicit ConsoleStatusView(bool showProgress);

    // PumpEvents sets this flag once Ctrl-C has been pressed.
    void WatchInterrupts(bool& cancelRequested) { cancelRequested_ = &cancelRequested; }
    void SetFileCounterText(std::string text);
    // Starts the next input: entry progress and output path cleared.
    void ResetEntries();
    // Removes the progress line so that ordinary output starts on a clean line.
    void ClearProgressLine();

    void SetEntryProgressMax(std::int32_t maximum) override { entryMax_ = maximum; }
    void SetEntryProgressPosition(std::int32_t position) override { entryPosition_ = position; }
    std::int32_t GetEntryProgressPosition() override { return entryPosition_; }
    std::int32_t GetEntryProgressMax() override { return entryMax_; }
    void SetEntryCounterText(const std::string& text) override { entryCounter_ = text; }
    void RepaintEntryCounter() override { Draw(true); }
    void ShowOutputPath(const std::string& path) override;
    void PumpEvents() override;
    void ShowModalMessage(const std::string& text) override;

private:
    void Draw(bool force);

    bool showProgress_;
    bool lineShown_ = false;
    bool* cancelRequested_ = nullptr;
    std::chrono::steady_clock::time_point lastDraw_{};
    std::int32_t entryMax_ = 0;
    std::int32_t entryPosition_ = 0;
    std::string fileCounter_;
    std::string entryCounter_;
    std::string outputPath_;
};

}  // namespace orv::cli
