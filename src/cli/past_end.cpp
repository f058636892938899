#include "cli/past_end.h"

#include "engine/base/text.h"

namespace orv::cli {

std::string PastEndText(const std::string& path)
{
    return EscapeControlBytes(path)
        + ": the file is cut short: its table or entries reach past its end (read as zeros)";
}

}  // namespace orv::cli
