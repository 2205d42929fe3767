#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// The panel and the tables keep 8-bit text, read as Latin-1. Files from other
// programs may be UTF-8 (or UTF-16); these helpers move text between them.
namespace Latin1Text {

// The whole text is valid UTF-8 and holds at least one byte above 127.
bool isUtf8(QByteArrayView bytes);

// Latin-1 of a Unicode text, composed first (an "e" with a combining accent
// becomes one letter). A character outside Latin-1 becomes "?" and sets
// *replaced.
QByteArray fromUnicode(QStringView text, bool *replaced = nullptr);
QByteArray fromUtf8(QByteArrayView utf8, bool *replaced = nullptr);

// UTF-8 of a Latin-1 text: every byte value has its own character, so the
// way back through fromUtf8() gives the same bytes.
QByteArray toUtf8(QByteArrayView latin1);

// A text that begins with a UTF-16 byte-order mark, as UTF-8 after a UTF-8
// byte-order mark; any other text unchanged.
QByteArray utf16AsUtf8(const QByteArray &bytes);

} // namespace Latin1Text
