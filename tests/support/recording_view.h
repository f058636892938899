#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/convert/status_view.h"

// A status view that remembers every call as a line of text, in order, and can run
// an action at a given pump or output (to press Stop there, for example).
class RecordingView : public orv::StatusView {
public:
    std::vector<std::string> calls;
    int pumps = 0;
    std::function<void(int pump)> onPump;
    std::function<void(const std::string& path)> onOutput;

    void SetEntryProgressMax(std::int32_t maximum) override { calls.push_back("max " + std::to_string(maximum)); }
    void SetEntryProgressPosition(std::int32_t position) override
    {
        position_ = position;
        calls.push_back("position " + std::to_string(position));
    }
    std::int32_t position() const { return position_; }
    void SetEntryCounterText(const std::string& text) override { calls.push_back("counter " + text); }
    void RepaintEntryCounter() override { calls.push_back("repaint"); }
    void ShowOutputPath(const std::string& path) override
    {
        calls.push_back("output " + path);
        if (onOutput) onOutput(path);
    }
    void PumpEvents() override
    {
        ++pumps;
        calls.push_back("pump");
        if (onPump) onPump(pumps);
    }
    void ShowModalMessage(const std::string& text) override { calls.push_back("message " + text); }
    // Kept apart from calls, which they never reorder.
    std::vector<std::string> notes;
    void ShowNote(const std::string& text) override { notes.push_back(text); }

private:
    std::int32_t position_ = 0;
};
