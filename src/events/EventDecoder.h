#pragma once

#include "table/Table.h"

#include <QByteArray>
#include <QList>
#include <optional>

// One event row as decoded from a line of the panel's event reply.
struct EventRow
{
    int Event = 0;
    QByteArray RoomNumber;
    QByteArray Date;
    QByteArray Time;
    QByteArray RlyNo;
    QByteArray Source;
    QByteArray Client;

    // The values in field order, Event as decimal text.
    QList<QByteArray> values() const;
};

// Decoding of the panel's event lines. Positions below are 1-based:
//   1-5   not interpreted         24-29 time, three hexadecimal pairs
//   6-17  room field (12)         31    relay
//   18-23 date, three pairs       33    source code
//   38-53 the resident's name, as sent
// Every slice tolerates a line of any length: a missing part gives an
// empty or "error" value, never a fault. The one thing a line can do wrong
// is carry a date or time pair that is not hexadecimal; that line is not
// decoded at all (nullopt), and the download reports it.
namespace EventDecoder {

// A pair of hexadecimal digits (either case) as a decimal number, left-padded
// with "0" and cut to its last `digits` characters: "64" with 2 gives "00",
// "FF" gives "55". nullopt when the text is not a hexadecimal number.
std::optional<QByteArray> HexByteToDecimal(const QByteArray &pair, int digits = 2);

// Six hexadecimal characters as three two-digit decimal numbers joined with
// the separator ("1F0C63", '/' gives "31/12/99"). A text that is not exactly
// six characters long gives the empty text; a pair that is not hexadecimal
// gives nullopt.
std::optional<QByteArray> HexPairsToText(const QByteArray &six, char separator);

// The room text of a 12-character room field: "InCall" for "B", "Butt." and
// the button digit for "A", "error" for "C" and for a field of another
// length, otherwise the low digit of each byte up to the first "F" or byte
// 255 ("04070101FFFF" gives "4711").
QByteArray DecodeEventRoom(const QByteArray &field);

// "0" local, "1" Remote, "2" RF-ID, anything else (also nothing) Error.
QByteArray SourceText(const QByteArray &code);

// The row of one event line with the given number; nullopt when its date or
// time holds a pair that is not hexadecimal.
std::optional<EventRow> decodeEventRow(const QByteArray &line, int number);

} // namespace EventDecoder

// Decodes one event line and appends its row to the open event table (stored
// at once). False, with nothing appended, when the line's date or time is
// not hexadecimal.
bool DecodeEventLine(Table &EventTable, const QByteArray &line, int number);
