#include "engine/convert/status_view.h"

namespace orv {

std::string FormatCounter(std::int32_t position, std::int32_t maximum)
{
    return "[" + std::to_string(position) + "/" + std::to_string(maximum) + "]";
}

}  // namespace orv
