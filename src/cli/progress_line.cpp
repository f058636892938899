#include "cli/progress_line.h"

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace orv::cli {

namespace {

// Redrawing for every entry of a large archive would cost more than the entries.
constexpr auto kRedrawInterval = std::chrono::milliseconds(50);

constexpr char kClearLine[] = "\r\x1b[K";

// Whether some progress line is on screen, for the signal handler.
std::atomic<bool> lineOnScreen{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read in a signal handler");

std::size_t TerminalColumns()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

// Columns a UTF-8 text takes, counting characters from U+1100 on as double width:
// close enough for Japanese names, which is what the paths hold.
std::size_t Columns(const std::string& text, std::size_t from = 0)
{
    std::size_t columns = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) continue;
        columns += byte >= 0xE1 ? 2 : 1;
    }
    return columns;
}

// The end of text that fits in width columns, led by "..." when anything was cut.
std::string FitTail(const std::string& text, std::size_t width)
{
    if (Columns(text) <= width) return text;
    if (width <= 3) return {};
    std::size_t start = 0;
    while (start < text.size()
           && (Columns(text, start) > width - 3 || (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80))
        ++start;
    return "..." + text.substr(start);
}

}  // namespace

ProgressLine::ProgressLine(bool wanted) : shown_(wanted && ::isatty(STDERR_FILENO) == 1) { }

void ProgressLine::Draw(bool force)
{
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDraw_ < kRedrawInterval) return;
    lastDraw_ = now;
    std::string line = fileCounter_;
    if (!entryCounter_.empty()) line += " " + entryCounter_;
    const std::size_t columns = TerminalColumns();
    const std::size_t used = Columns(line) + 1;
    if (!outputPath_.empty() && used + 1 < columns) line += " " + FitTail(outputPath_, columns - used - 1);
    std::fprintf(stderr, "%s%s", kClearLine, line.c_str());
    std::fflush(stderr);
    SetOnScreen(true);
}

void ProgressLine::Clear()
{
    if (!onScreen_) return;
    std::fputs(kClearLine, stderr);
    std::fflush(stderr);
    SetOnScreen(false);
}

void ProgressLine::SetOnScreen(bool onScreen)
{
    onScreen_ = onScreen;
    lineOnScreen.store(onScreen);
}

void ProgressLine::ClearForExit() noexcept
{
    if (!lineOnScreen.load()) return;
    // Nothing is left to do when the terminal does not take it.
    const ssize_t written = ::write(STDERR_FILENO, kClearLine, sizeof kClearLine - 1);
    static_cast<void>(written);
}

}  // namespace orv::cli
