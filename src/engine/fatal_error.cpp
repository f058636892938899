#include "fatal_error.h"

namespace orv {

FatalError FatalError::OutOfMemory()
{
    return FatalError("メモリ確保できません！\n終了します。");
}

FatalError FatalError::CannotOpen(const std::string& path)
{
    return FatalError("ファイルオープンエラー！\n" + path + "\n終了します。");
}

FatalError FatalError::CannotWrite(const std::string& path)
{
    return FatalError("ファイル書き込みエラー！\n" + path + "\n終了します。");
}

FatalError FatalError::PngFailed(const std::string& path)
{
    return FatalError("PNG出力エラー！\n" + path + "\n終了します。");
}

FatalError FatalError::UnknownFormat(const std::string& path)
{
    return FatalError("未知の形式です！\n" + path + "\n終了します。");
}

}  // namespace orv
