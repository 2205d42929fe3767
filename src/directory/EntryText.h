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

// Whether the text is a number as the panel keeps it in a room or code
// field: decimal digits only, at least one. A sign, a blank or any other
// character would be lost on the way (the entry text keeps only the leading
// digits), so " 12", "+12" and "-5" are not such numbers.
bool IsPanelNumber(const QByteArray &text);

// The text without its leading blanks when the rest is a panel number;
// otherwise "0", after the message "Must use Numeric digits in" CR LF
// "RoomNumber & Codes fields".
QByteArray NumericOrZero(const QByteArray &text, UserPrompt &prompt);
