#pragma once

#include <QByteArray>

// The dial signs of a telephone number in the panel's coding: "*", "#" and
// "p" (pause) travel as ":", ";" and "<", and "?" fills an unused place.
// The speed dials use these conversions; the directory keeps the same pair.
namespace SpeedDialDigits {

// Panel digits to dial text: up to the first "?" (or the end), ":" "*",
// ";" "#", "<" "p"; every other character passes unchanged.
QByteArray DecodeDialDigits(const QByteArray &text);

// Dial text to panel digits, looking at no more than max characters and
// never giving more than 16: digits pass, "*" ":", "#" ";", "p" "P" and
// ":" "<"; the first character of any other kind ends the number.
QByteArray EncodeDialDigits(const QByteArray &text, int max);

} // namespace SpeedDialDigits
