#pragma once

#include <QByteArray>
#include <QString>

namespace orv::view {

// The bytes as text, decoded from CP932 as the game's scripts are written (bytes that
// are not CP932 show as U+FFFD).
QString Cp932Text(const QByteArray& bytes);

// The first limit bytes as a hex dump: offset, 16 bytes in hex, the same as ASCII with
// "." for anything else, and a last line telling how many bytes are not shown.
QString HexDump(const QByteArray& bytes, qsizetype limit);

}  // namespace orv::view
