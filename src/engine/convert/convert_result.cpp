#include "engine/convert/convert_result.h"

namespace orv {

std::optional<std::string_view> FinalMessage(ConvertResult last)
{
    switch (last) {
    case ConvertResult::Finished: return "変換終了しました。";
    case ConvertResult::Cancelled: return "変換中止しました。";
    case ConvertResult::Skipped:
    case ConvertResult::NotOpened: break;
    }
    return std::nullopt;
}

}  // namespace orv
