#include "view/entry_text.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <algorithm>

namespace orv::view {

namespace {

// Enough of an entry to tell text from binary without reading a large one through.
constexpr qsizetype kSniffBytes = 8192;

}  // namespace

TextEncoding GuessEncoding(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // The decoder runs when its result is taken.
    const QString decoded = utf8.decode(bytes);
    return utf8.hasError() ? TextEncoding::Cp932 : TextEncoding::Utf8;
}

bool LooksBinary(const QByteArray& bytes)
{
    const QByteArrayView head = QByteArrayView(bytes).first(std::min(bytes.size(), kSniffBytes));
    qsizetype controls = 0;
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) return true;
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' && byte != 0x1b) ++controls;
    }
    return controls * 10 > head.size();
}

QString DecodeText(const QByteArray& bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8) return QString::fromUtf8(bytes);
    return Cp932Text(bytes);
}

QString Cp932Text(const QByteArray& bytes)
{
    QStringDecoder decoder("CP932");
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

QString HexDump(const QByteArray& bytes, qsizetype limit)
{
    QString out;
    const qsizetype shown = std::min(bytes.size(), limit);
    for (qsizetype at = 0; at < shown; at += 16) {
        QString hex;
        QString ascii;
        for (qsizetype i = at; i < at + 16; ++i) {
            if (i < shown) {
                const auto byte = static_cast<unsigned char>(bytes[i]);
                hex += QStringLiteral("%1 ").arg(byte, 2, 16, QLatin1Char('0'));
                ascii += byte >= 0x20 && byte < 0x7F ? QChar(byte) : QChar('.');
            } else {
                hex += QStringLiteral("   ");
            }
        }
        out += QStringLiteral("%1  %2 %3\n").arg(at, 8, 16, QLatin1Char('0')).arg(hex, ascii);
    }
    if (shown < bytes.size())
        out += QCoreApplication::translate("orv::view::HexDump", "… %1 more bytes").arg(bytes.size() - shown);
    return out;
}

}  // namespace orv::view
