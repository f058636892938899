#include "engine/read/input_messages.h"

#include "engine/base/fatal_error.h"
#include "engine/base/text.h"

namespace orv {

namespace {

const char* Reason(PassedOver why)
{
    switch (why) {
    case PassedOver::Folder: return "a folder";
    case PassedOver::NotAnInputName: return "not a .dat or .ani file";
    case PassedOver::NotAPackArchive: return "not a pack archive (it does not start with \"pack\")";
    }
    return "";
}

}  // namespace

std::string PassedOverText(const std::string& path, PassedOver why)
{
    return EscapeControlBytes(path) + ": passed over: " + Reason(why);
}

std::string PastEndText(const std::string& path)
{
    return EscapeControlBytes(path)
        + ": the file is cut short: its table or entries reach past its end (read as zeros)";
}

std::string NotOpenedText(const std::string& path, int error)
{
    return CannotOpenInputText(path, error);
}

}  // namespace orv
