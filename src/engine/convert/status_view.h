#pragma once

#include <cstdint>
#include <string>

#include "engine/read/archive.h"

namespace orv {

// What the engine shows and where it yields while it works. The window implements
// it on its controls, the command line on the terminal, tests by recording calls.
class StatusView {
public:
    virtual ~StatusView() = default;

    virtual void SetEntryProgressMax(std::int32_t maximum) = 0;
    virtual void SetEntryProgressPosition(std::int32_t position) = 0;
    virtual void SetEntryCounterText(const std::string& text) = 0;
    // Paints pending changes at once without dispatching any other event.
    virtual void RepaintEntryCounter() = 0;
    // The full path of the file about to be written; painted at once.
    virtual void ShowOutputPath(const std::string& path) = 0;
    // Dispatches pending events (a Stop request among them) and never waits.
    virtual void PumpEvents() = 0;
    virtual void ShowModalMessage(const std::string& text) = 0;
    // An input that cannot be opened, error the system's error number: the window shows
    // its message naming srcName.
    virtual void ShowInputNotOpened(const std::string& srcName, const std::string& srcPath, int error);
    // An input passed over unread, and why; the window shows nothing for it at once.
    virtual void ShowPassedOver(const std::string& /*srcPath*/, PassedOver /*why*/) { }
    // A remark about the output that ends nothing; only the command line shows it.
    virtual void ShowNote(const std::string& /*text*/) { }
};

// Shows nothing and pumps nothing: enough to run the engine where nobody watches.
class SilentStatusView : public StatusView {
public:
    void SetEntryProgressMax(std::int32_t) override { }
    void SetEntryProgressPosition(std::int32_t) override { }
    void SetEntryCounterText(const std::string&) override { }
    void RepaintEntryCounter() override { }
    void ShowOutputPath(const std::string&) override { }
    void PumpEvents() override { }
    void ShowModalMessage(const std::string&) override { }
};

// "[position/maximum]", e.g. [0/12].
std::string FormatCounter(std::int32_t position, std::int32_t maximum);

}  // namespace orv
