#include "engine/convert/status_view.h"

#include "engine/base/fatal_error.h"

namespace orv {

void StatusView::ShowInputNotOpened(const std::string& srcName, const std::string& /*srcPath*/, int /*error*/)
{
    ShowModalMessage(CannotOpenInputText(srcName));
}

std::string FormatCounter(std::int32_t position, std::int32_t maximum)
{
    return "[" + std::to_string(position) + "/" + std::to_string(maximum) + "]";
}

}  // namespace orv
