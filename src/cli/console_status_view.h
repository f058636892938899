#pragma once

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

#include "cli/batch_schedule.h"
#include "cli/console.h"
#include "engine/convert/status_view.h"

namespace orv::cli {

// One worker's engine view: progress goes to the shared console, messages are kept for
// the input they are about, and at each pump point the conversion is told to stop on
// Ctrl-C or when an earlier input ended in a fatal error.
class ConsoleStatusView : public StatusView {
public:
    ConsoleStatusView(Console& console, BatchSchedule& schedule) : console_(console), schedule_(schedule) { }

    // The worker starts converting input, stopped at a pump point through this token
    // when the schedule says so.
    std::stop_token StartInput(std::size_t input);

    void SetEntryProgressMax(std::int32_t) override { }
    void SetEntryProgressPosition(std::int32_t) override { }
    void SetEntryCounterText(const std::string& text) override { console_.SetEntryCounter(input_, text); }
    void RepaintEntryCounter() override { console_.Repaint(); }
    void ShowOutputPath(const std::string& path) override { console_.ShowOutputPath(input_, path); }
    void PumpEvents() override;
    void ShowModalMessage(const std::string& text) override { console_.Message(input_, text); }
    void ShowNote(const std::string& text) override;
    void ShowInputNotOpened(const std::string& srcName, const std::string& srcPath, int error) override;
    void ShowPassedOver(const std::string& srcPath, PassedOver why) override;

private:
    Console& console_;
    BatchSchedule& schedule_;
    std::stop_source stop_;
    std::size_t input_ = 0;
};

}  // namespace orv::cli
