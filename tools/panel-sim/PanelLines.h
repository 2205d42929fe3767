#pragma once

#include "PanelEvent.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>

// The lines the panel sends, built byte for byte. None of them carries its
// CR LF; the caller ends each line.
namespace PanelLines {

inline constexpr char kCrLf[] = "\r\n";

// Four decimal digits: 1408 -> "1408", 2 -> "0002".
QByteArray recordNumber(int record);
// The record's memory address, record x 32, as four upper-case hexadecimal
// digits: 0128 -> "1000", 1152 -> "9000", 0002 -> "0040".
QByteArray address(int record);

// A directory entry as the directory read sends it: the stored text with its
// phone digits (the fifth field) filled up with "?" to 16. Text that is not a
// six-field entry goes out as stored.
QByteArray directoryContent(const QByteArray &stored);

// A record line of a "d" read: address, one blank, the content.
QByteArray readLine(int record, const QByteArray &content);

// An RFID store line: record number, one blank, the content filled up with
// "?" to 64.
QByteArray storeLine(int record, const QByteArray &content);

// The clock as twelve upper-case hexadecimal digits: seconds, minutes, hours,
// day, month, two-digit year, one byte each.
QByteArray clockLine(const QDateTime &time);

// One event of the log, numbered from 1: "EEEE ", the room field (12), date
// (6) and time (6) as hexadecimal bytes, a blank, the relay digit, a blank,
// the source digit, four blanks, the name filled with blanks to 16.
QByteArray eventLine(int number, const PanelEvent &event);
// The twelve characters of an event's room field.
QByteArray eventRoomField(const PanelEvent &event);

// A tag code is ten hexadecimal digits (five bytes), in either case; the
// panel keeps it in upper case. Empty when the text is not such a code.
std::optional<QByteArray> normaliseTag(const QByteArray &code);
// The line the reader sends for a tag: the code, then the exclusive-or of
// its five bytes as two hexadecimal digits. A corrupt line carries a wrong
// check byte.
QByteArray tagLine(const QByteArray &code, bool corruptCheck = false);

// Panel digits: a hexadecimal digit of value v travels as the character
// 48 + v, so A-F are ":" to "?". Characters that are not upper-case or
// lower-case hexadecimal letters stay as they are.
QByteArray hexToPanel(const QByteArray &hex);
// Dial text in panel digits: "*" -> ":", "#" -> ";", "p" or "P" -> "<",
// stopping at the first other character that is not a decimal digit, at most
// `max` characters.
QByteArray dialToPanel(const QByteArray &dial, int max = 16);

} // namespace PanelLines
