#pragma once

#include <QByteArray>

class UserPrompt;

// Small text helpers for the room number and code fields of a directory
// entry.

// The decimal digits at the start of the text, at most `max` of them and
// never more than 16; the first non-digit ends the result.
QByteArray LeadingDigits(const QByteArray &text, int max);

// The text without the blanks at its start.
QByteArray StripLeadingSpaces(const QByteArray &text);

// Whether the text converts to a whole number: optional leading blanks, an
// optional sign and decimal digits, within the 32-bit signed range. An empty
// text does not convert.
bool IsInteger(const QByteArray &text);

// The text itself when it converts to a whole number; otherwise "0", after
// the message "Must use Numeric digits in" CR LF "RoomNumber & Codes fields".
QByteArray NumericOrZero(const QByteArray &text, UserPrompt &prompt);
