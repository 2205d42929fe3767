#pragma once

#include <QByteArray>
#include <optional>

// A byte of the system parameter record travels as two nibble characters,
// high nibble first; a nibble n is the character 0x30 + n ("0".."9", then
// ":" ";" "<" "=" ">" "?"). 20 is "14", 171 is ":;", 255 is "??".

namespace NibbleCodec {

// The first two characters of the value in upper-case hexadecimal with at
// least two digits, letters moved down to ":".."?". Values outside 0..255
// keep only the first two digits.
QByteArray EncodeNibbleByte(int value);
// The same for decimal text; empty when the text is not a whole number.
std::optional<QByteArray> EncodeNibbleByte(const QByteArray &decimal);

// The byte's value as decimal text; empty text for an empty input. A
// character outside "0".."?" (NUL included) and a missing second character
// count as 0.
QByteArray DecodeNibbleByte(const QByteArray &pair);

} // namespace NibbleCodec
