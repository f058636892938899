#include "cli/console_status_view.h"

#include "cli/interrupt.h"
#include "engine/read/input_messages.h"

namespace orv::cli {

std::stop_token ConsoleStatusView::StartInput(std::size_t input)
{
    input_ = input;
    stop_ = std::stop_source();
    console_.InputStarted(input);
    return stop_.get_token();
}

void ConsoleStatusView::PumpEvents()
{
    if (InterruptRequested()) schedule_.Interrupt();
    if (schedule_.MustStop(input_)) stop_.request_stop();
    console_.Refresh();
}

// A note is no error the window shows in a box: each of its lines (a path after the
// message) gets the program's prefix, so that a script finds every line of it.
void ConsoleStatusView::ShowNote(const std::string& text)
{
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        console_.Message(input_, text.substr(start, end - start));
        start = end + 1;
    }
    console_.Message(input_, text.substr(start));
}

void ConsoleStatusView::ShowInputNotOpened(const std::string& /*srcName*/, const std::string& srcPath, int error)
{
    console_.Message(input_, NotOpenedText(srcPath, error));
}

void ConsoleStatusView::ShowPassedOver(const std::string& srcPath, PassedOver why)
{
    console_.Message(input_, PassedOverText(srcPath, why));
}

}  // namespace orv::cli
