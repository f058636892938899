#pragma once

#include <QByteArray>
#include <QString>

namespace orv::view {

// The encodings text entries are read in: the game's scripts are CP932, files added by
// tools of today often UTF-8.
enum class TextEncoding { Utf8, Cp932 };

// UTF-8 where the bytes are valid UTF-8 (plain ASCII included), CP932 otherwise.
TextEncoding GuessEncoding(const QByteArray& bytes);
// Whether the bytes look like no text at all: a zero byte, or more than one in ten of
// the first bytes control bytes other than tab, line ends, form feed and escape.
bool LooksBinary(const QByteArray& bytes);
// The bytes as text in that encoding (bytes that do not decode show as U+FFFD).
QString DecodeText(const QByteArray& bytes, TextEncoding encoding);
// The bytes as text, decoded from CP932 as the game's scripts are written.
QString Cp932Text(const QByteArray& bytes);

// The first limit bytes as a hex dump: offset, 16 bytes in hex, the same as ASCII with
// "." for anything else, and a last line telling how many bytes are not shown.
QString HexDump(const QByteArray& bytes, qsizetype limit);

}  // namespace orv::view
