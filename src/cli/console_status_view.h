#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/batch_schedule.h"
#include "cli/console.h"
#include "engine/status_view.h"

namespace orv::cli {

// One worker's engine view: progress goes to the shared console, messages are kept for
// the input they are about, and at each pump point the conversion is told to stop on
// Ctrl-C or when an earlier input ended in a fatal error.
class ConsoleStatusView : public StatusView {
public:
    ConsoleStatusView(Console& console, BatchSchedule& schedule) : console_(console), schedule_(schedule) { }

    // PumpEvents sets this flag when the conversion is to stop.
    void StopThrough(bool& cancelRequested) { cancelRequested_ = &cancelRequested; }
    // The worker starts converting input: entry progress and output path cleared.
    void StartInput(std::size_t input);
    // Whether the engine reported the input under way as one it cannot open: the only
    // message it shows without ending the run.
    bool InputNotOpened() const { return notOpened_; }

    void SetEntryProgressMax(std::int32_t maximum) override { entryMax_ = maximum; }
    void SetEntryProgressPosition(std::int32_t position) override { entryPosition_ = position; }
    std::int32_t GetEntryProgressPosition() override { return entryPosition_; }
    std::int32_t GetEntryProgressMax() override { return entryMax_; }
    void SetEntryCounterText(const std::string& text) override { console_.SetEntryCounter(text); }
    void RepaintEntryCounter() override { console_.Repaint(); }
    void ShowOutputPath(const std::string& path) override { console_.ShowOutputPath(path); }
    void PumpEvents() override;
    void ShowModalMessage(const std::string& text) override
    {
        notOpened_ = true;
        console_.Message(input_, text);
    }
    void ShowNote(const std::string& text) override { console_.Message(input_, text); }

private:
    Console& console_;
    BatchSchedule& schedule_;
    bool* cancelRequested_ = nullptr;
    std::size_t input_ = 0;
    bool notOpened_ = false;
    std::int32_t entryMax_ = 0;
    std::int32_t entryPosition_ = 0;
};

}  // namespace orv::cli
