#include "engine/base/fatal_error.h"

#include "engine/base/text.h"

namespace orv {

namespace {

std::string WithPath(const char* what, const std::string& path)
{
    return what + EscapeControlBytes(path) + "\n終了します。";
}

}  // namespace

FatalError::FatalError(std::string text) :
    owned_(std::make_shared<const std::string>(std::move(text))), text_(owned_->c_str())
{ }

FatalError FatalError::OutOfMemory() noexcept
{
    return FatalError(Fixed{}, "メモリ確保できません！\n終了します。");
}

FatalError FatalError::CannotOpen(const std::string& path)
{
    return FatalError(WithPath("ファイルオープンエラー！\n", path));
}

FatalError FatalError::CannotMakeFolder(const std::string& path)
{
    return FatalError(WithPath("フォルダを作成できません！\n", path));
}

FatalError FatalError::CannotRead(const std::string& path)
{
    return FatalError(WithPath("ファイル読み込みエラー！\n", path));
}

FatalError FatalError::CannotWrite(const std::string& path)
{
    return FatalError(WithPath("ファイル書き込みエラー！\n", path));
}

FatalError FatalError::PngFailed(const std::string& path)
{
    return FatalError(WithPath("PNG出力エラー！\n", path));
}

FatalError FatalError::UnknownFormat(const std::string& path)
{
    return FatalError(WithPath("未知の形式です！\n", path));
}

std::string CannotOpenInputText(std::string_view srcName)
{
    return "ファイルを開けません！\n" + EscapeControlBytes(srcName);
}

std::string ReducedColoursText(const std::string& path)
{
    return "256色を超えるフレームを減色しました。\n" + EscapeControlBytes(path);
}

std::string ReplacedOutputText(const std::string& path, const std::string& earlier, const std::string& later)
{
    return EscapeControlBytes(path) + ": the file of " + EscapeControlBytes(earlier) + " was replaced by that of "
        + EscapeControlBytes(later);
}

}  // namespace orv
