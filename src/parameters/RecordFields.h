#pragma once

#include <QByteArray>
#include <optional>

// Small helpers for the fields of the parameter records.
namespace RecordFields {

inline constexpr char kErased = char(0xFF); // the panel's erased filling

// The text followed by fill characters up to width; a text already as long
// or longer comes back unchanged (never cut).
QByteArray PadField(const QByteArray &text, int width, char fill);

// The text to put back into a numeric edit: the maximum when the number is
// above it, the minimum when below, else the text exactly as typed ("07"
// stays "07"). Empty when the text is not a whole number.
std::optional<QByteArray> ClampParameter(const QByteArray &text, int minimum, int maximum);

// A code's four characters in record 0006: its leading decimal digits (at
// most four; the first other character ends it), filled with 0xFF.
QByteArray EncodeGateCode(const QByteArray &text);

// A slice of a reply with every 0xFF turned into NUL, so that a text ends
// where its erased filling begins; "ERROR" for an empty slice.
QByteArray CleanReplyField(const QByteArray &slice);

// Characters first..last (counted from 1) of a text; shorter or empty when
// the text ends before.
QByteArray slice(const QByteArray &text, int first, int last);

} // namespace RecordFields
