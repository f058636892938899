#include "cli/console_status_view.h"

#include "cli/interrupt.h"

namespace orv::cli {

std::stop_token ConsoleStatusView::StartInput(std::size_t input)
{
    input_ = input;
    stop_ = std::stop_source();
    console_.InputStarted();
    return stop_.get_token();
}

void ConsoleStatusView::PumpEvents()
{
    if (InterruptRequested()) schedule_.Interrupt();
    if (schedule_.MustStop(input_)) stop_.request_stop();
    console_.Refresh();
}

}  // namespace orv::cli
