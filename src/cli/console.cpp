#include "cli/console.h"

#include <algorithm>
#include <cstdio>

#include "cli/message_prefix.h"
#include "engine/convert/status_view.h"
#include "engine/base/text.h"

namespace orv::cli {

Console::Console(bool showProgress, std::size_t inputCount) :
    line_(showProgress),
    total_(inputCount),
    heldBack_(inputCount),
    entryCounters_(inputCount),
    outputPaths_(inputCount),
    ended_(inputCount, false),
    limit_(inputCount)
{
    line_.SetFileCounter(FormatCounter(0, static_cast<std::int32_t>(total_)));
    line_.Draw(true);
}

void Console::InputStarted(std::size_t input)
{
    std::lock_guard lock(mutex_);
    entryCounters_[input].clear();
    outputPaths_[input].clear();
    Show(input);
}

void Console::SetEntryCounter(std::size_t input, const std::string& text)
{
    std::lock_guard lock(mutex_);
    entryCounters_[input] = text;
    Show(input);
}

void Console::Repaint()
{
    std::lock_guard lock(mutex_);
    line_.Draw(true);
}

void Console::ShowOutputPath(std::size_t input, const std::string& path)
{
    std::lock_guard lock(mutex_);
    outputPaths_[input] = EscapeControlBytes(path);
    Show(input);
    line_.Draw(false);
}

void Console::Show(std::size_t input)
{
    line_.SetEntryCounter(entryCounters_[input]);
    line_.SetOutputPath(outputPaths_[input]);
}

void Console::Refresh()
{
    std::lock_guard lock(mutex_);
    line_.Draw(false);
}

void Console::Message(std::size_t input, std::string text)
{
    std::lock_guard lock(mutex_);
    if (input == released_ && input < limit_)
        Print(text.c_str());
    else
        heldBack_[input].push_back(std::move(text));
}

void Console::InputEnded(std::size_t input)
{
    std::lock_guard lock(mutex_);
    ended_[input] = true;
    ++endedCount_;
    line_.SetFileCounter(FormatCounter(static_cast<std::int32_t>(endedCount_), static_cast<std::int32_t>(total_)));
    ReleaseEnded();
    line_.Draw(true);
}

void Console::InputFailed(std::size_t input)
{
    std::lock_guard lock(mutex_);
    ended_[input] = true;
    limit_ = std::min(limit_, input + 1);
    ReleaseEnded();
}

void Console::Close()
{
    std::lock_guard lock(mutex_);
    for (; released_ < limit_; ++released_) {
        for (const std::string& text : heldBack_[released_]) Print(text.c_str());
    }
    line_.Clear();
}

void Console::ShowNow(const char* text)
{
    std::lock_guard lock(mutex_);
    Print(text);
}

void Console::Print(const char* text)
{
    line_.Clear();
    std::fprintf(stderr, "%s%s\n", kMessagePrefix, text);
    std::fflush(stderr);
}

void Console::ReleaseEnded()
{
    for (; released_ < limit_ && ended_[released_]; ++released_) {
        for (const std::string& text : heldBack_[released_]) Print(text.c_str());
        heldBack_[released_].clear();
    }
}

}  // namespace orv::cli
