#pragma once

#include "status_view.h"

// Shows nothing, remembers the two progress values and pumps nothing.
class SilentView : public orv::StatusView {
public:
    void SetEntryProgressMax(std::int32_t maximum) override { max_ = maximum; }
    void SetEntryProgressPosition(std::int32_t position) override { position_ = position; }
    std::int32_t GetEntryProgressPosition() override { return position_; }
    std::int32_t GetEntryProgressMax() override { return max_; }
    void SetEntryCounterText(const std::string&) override {}
    void RepaintEntryCounter() override {}
    void ShowOutputPath(const std::string&) override {}
    void PumpEvents() override {}
    void ShowModalMessage(const std::string&) override {}

private:
    std::int32_t max_ = 0;
    std::int32_t position_ = 0;
};
