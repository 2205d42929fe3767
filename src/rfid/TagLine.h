#pragma once

#include <QByteArray>

// The line the panel sends of its own accord when a tag is held to its
// reader: ten hexadecimal digits of the tag's five bytes, then a check pair,
// the exclusive-or of the five bytes, then anything (1-based positions 1-10,
// 11-12, 13 on). Digits of either case are accepted.
namespace TagLine {

// The line's first ten characters, exactly as received (case unchanged),
// when the check pair matches; the empty text when it does not, when a pair
// is not hexadecimal, or when the line is shorter than 12 characters.
QByteArray CheckTagLine(const QByteArray &line);

} // namespace TagLine
