#include "app/app_text.h"

#include <QStringDecoder>

#include "engine/base/text.h"

namespace orv::app {

namespace {

const char* ReasonText(PassedOver why)
{
    switch (why) {
    case PassedOver::Folder: return "フォルダです";
    case PassedOver::NotAnInputName: return ".dat/.ani ファイルではありません";
    case PassedOver::NotAPackArchive: return "パックアーカイブではありません";
    }
    return "";
}

}  // namespace

const desktop::ProgramTexts kOrvconvTexts{
    "orvconv", "[FILE...]",
    "Opens the window that converts ORVENDA 3.2 pack archives (.dat) and animations (.ani)\n"
    "into BMP, PNG, WAV and raw files. FILEs given wait in the window for 変換, which\n"
    "converts them as one batch, as if chosen in the window's file dialog; \"--\" ends\n"
    "the options, for a FILE whose name starts with \"-\". Any other option is a usage\n"
    "error (status 2).\n\n"
    "  -h, --help     show this text\n"
    "  -V, --version  show the version\n\n"
    "Output folders and settings files (*.ini) are in ~/orvconv/ ($ORVCONV_HOME names\n"
    "another folder), or beside the executable where a file orvconv.portable is there."};

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

std::string ShownSettingsName(std::string_view bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return decoded.toStdString();
    return Cp932ToUtf8(bytes);
}

std::string PassedOverMessage(const std::vector<std::pair<std::string, PassedOver>>& passedOver)
{
    std::string text = "変換しなかったファイルがあります。";
    for (std::size_t i = 0; i < passedOver.size() && i < kMaxListed; ++i)
        text += "\n" + EscapeControlBytes(passedOver[i].first) + "（" + ReasonText(passedOver[i].second) + "）";
    if (passedOver.size() > kMaxListed) text += "\nほか " + std::to_string(passedOver.size() - kMaxListed) + " 件";
    return text;
}

}  // namespace orv::app
