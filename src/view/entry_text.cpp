#include "view/entry_text.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <algorithm>

namespace orv::view {

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
