#pragma once

#include <QByteArray>
#include <optional>

// A RecordNumber names one storage record of the panel: exactly four decimal
// digits with leading zeros ("0001", "0128").
namespace RecordNumber {

// Four digits of n: the rightmost four characters of "0000" + n.
QByteArray fromInt(qint64 n);

// A slot address is hexadecimal text without prefix ("1000"); its record
// number is the address divided by 32. Empty when the text is not a
// hexadecimal number, such as the "p2" placeholders of appended entries.
std::optional<QByteArray> fromAddress(const QByteArray &hexAddress);

} // namespace RecordNumber
