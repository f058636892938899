#include "engine/base/fatal_error.h"

#include <system_error>

#include "engine/base/text.h"

namespace orv {

namespace {

constexpr const char* kEnding = "\n終了します。";

}  // namespace

FatalError::FatalError(std::shared_ptr<const Texts> texts) noexcept :
    owned_(std::move(texts)), text_(owned_->text.c_str()), detailed_(owned_->detailed.c_str())
{ }

FatalError::FatalError(const std::string& text) : FatalError(std::make_shared<const Texts>(Texts{text, text})) { }

FatalError FatalError::WithPath(const char* what, const std::string& path, int error)
{
    const std::string shown = what + EscapeControlBytes(path);
    std::string detailed = error != 0 ? shown + ": " + SystemReason(error) + kEnding : shown + kEnding;
    return FatalError(std::make_shared<const Texts>(Texts{shown + kEnding, std::move(detailed)}));
}

FatalError FatalError::OutOfMemory() noexcept
{
    return FatalError(Fixed{}, "メモリ確保できません！\n終了します。");
}

FatalError FatalError::CannotOpen(const std::string& path, int error)
{
    return WithPath("ファイルオープンエラー！\n", path, error);
}

FatalError FatalError::CannotMakeFolder(const std::string& path, int error)
{
    return WithPath("フォルダを作成できません！\n", path, error);
}

FatalError FatalError::CannotRead(const std::string& path, int error)
{
    return WithPath("ファイル読み込みエラー！\n", path, error);
}

FatalError FatalError::CannotWrite(const std::string& path, int error)
{
    return WithPath("ファイル書き込みエラー！\n", path, error);
}

FatalError FatalError::CannotWrite(const std::string& path)
{
    return CannotWrite(path, 0);
}

FatalError FatalError::PngFailed(const std::string& path)
{
    return WithPath("PNG出力エラー！\n", path, 0);
}

FatalError FatalError::UnknownFormat(const std::string& path)
{
    return WithPath("未知の形式です！\n", path, 0);
}

std::string SystemReason(int error)
{
    return error != 0 ? std::generic_category().message(error) : "not a regular file";
}

std::string CannotOpenInputText(std::string_view srcName)
{
    return "ファイルを開けません！\n" + EscapeControlBytes(srcName);
}

std::string CannotOpenInputText(std::string_view path, int error)
{
    return CannotOpenInputText(path) + ": " + SystemReason(error);
}

std::string ReducedColoursText(const std::string& path)
{
    return "256色を超えるフレームを減色しました。\n" + EscapeControlBytes(path);
}

std::string EmptyPictureAsBmpText(const std::string& path)
{
    return "幅か高さが0の画像はPNGにできないため、BMPで出力しました。\n" + EscapeControlBytes(path);
}

std::string ReplacedOutputText(const std::string& path, const std::string& earlier, const std::string& later)
{
    return EscapeControlBytes(path) + ": the file of " + EscapeControlBytes(earlier) + " was replaced by that of "
        + EscapeControlBytes(later);
}

}  // namespace orv
