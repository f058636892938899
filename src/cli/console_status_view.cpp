#include "cli/console_status_view.h"

#include "cli/interrupt.h"

namespace orv::cli {

void ConsoleStatusView::StartInput(std::size_t input)
{
    input_ = input;
    notOpened_ = false;
    entryMax_ = 0;
    entryPosition_ = 0;
    console_.InputStarted();
}

void ConsoleStatusView::PumpEvents()
{
    if (InterruptRequested()) schedule_.Interrupt();
    if (cancelRequested_ != nullptr && schedule_.MustStop(input_)) *cancelRequested_ = true;
    console_.Refresh();
}

}  // namespace orv::cli
