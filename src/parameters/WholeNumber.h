#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Whole numbers as the numeric edits and decoded bytes hold them: an
// optional sign and decimal digits, nothing else (no blanks), within 32 bits.
namespace WholeNumber {

std::optional<int> parse(const QByteArray &text);

// "'%s' is not a valid integer value" with the text in place of %s.
QString invalidMessage(const QByteArray &text);

} // namespace WholeNumber
