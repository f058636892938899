#include "app/app_text.h"

#include "engine/base/text.h"

namespace orv::app {

std::string ProgramTitle(std::string_view executablePath)
{
    std::string_view name = FileNamePart(executablePath);
    name = name.substr(0, name.find('.'));
    if (name.empty()) return {};
    return std::string(name.substr(0, 1)) + AsciiLower(name.substr(1));
}

std::string ErrorDisplayText(std::string message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
    return message;
}

}  // namespace orv::app
