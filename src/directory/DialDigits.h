#pragma once

#include <QByteArray>

// Telephone numbers in the panel's coding. The dial signs "*", "#" and "p"
// (pause) travel as ":", ";" and "<"; "?" fills a number up to its width.
// The directory and the speed dials use both directions.

// Panel digits to dial text: stops at the first "?" or the end; ":" becomes
// "*", ";" "#", "<" "p"; every other character passes unchanged.
QByteArray DecodeDialDigits(const QByteArray &text);

// Dial text to panel digits: at most `max` characters are looked at and the
// result never exceeds 16. "0"-"9" pass, "*" becomes ":", "#" ";", and "p",
// "P" and ":" become "<"; the first character of any other kind ends it.
QByteArray EncodeDialDigits(const QByteArray &text, int max);
