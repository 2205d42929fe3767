#pragma once

#include <QByteArray>
#include <optional>

class ParameterControls;
class UserPrompt;

// Record 0001, the system parameters: sixteen bytes as nibble pairs from the
// Setting and Options controls.
//
//  byte  0 Phs_ml    1 Phs_sl    2 Phs_rt    3 Phs_run   4 Phs_rc
//        5 Sil_time  6 Cont_time 7 "00"      8 Opt_sw2_1 9 Phs_lt
//       10 Phs_ls   11 Phs_na   12 Relay2 Override       13 Phs_but
//       14 "00"     15 OptionBits (opt930 bit 0 .. opt937 bit 7)
//
// Where a text is not a whole number the operation stops and shows "'%s' is
// not a valid integer value" through the prompt.
namespace SystemParameters {

// Byte 12: 0 rly2off, 1 rly2key, 2 rly2line, plus 8 when rly2tim is checked
// (enabled or not).
QByteArray EncodeRelay2Mode(const ParameterControls &c);
// From decimal text: 8 and above checks rly2tim (and takes 8 off), else
// unchecks it; then 0, 1, 2 turn on rly2off, rly2key, rly2line and any other
// value leaves the choice alone.
bool DecodeRelay2Mode(ParameterControls &c, const QByteArray &decimal, UserPrompt &prompt);

// Byte 8: "01" when Opt_sw2_1 is checked, else "00".
QByteArray EncodeRelayCompatOption(const ParameterControls &c);
// Opt_sw2_1 checked when the number is odd.
bool DecodeRelayCompatOption(ParameterControls &c, const QByteArray &decimal, UserPrompt &prompt);

// The sum of the bit values of the checked option controls.
int OptionBits(const ParameterControls &c);

// Clamps the eleven numeric edits, each written back before the next, then
// builds the 32 characters. Empty when an edit is not a whole number (the
// edits clamped before it keep their clamped values).
std::optional<QByteArray> EncodeSystemParameters(ParameterControls &c, UserPrompt &prompt);

// Sets the controls from a payload (characters after the 32nd ignored), in
// byte order, stopping at the first byte that cannot be read as a number
// (a payload too short to reach byte 8, 12 or 15). Decoded numbers are shown
// unclamped. Radio buttons turned on and GlobalCode changes run their rules;
// RefreshCodeHighlights runs at the end. False when it stopped.
bool DecodeSystemParameters(ParameterControls &c, const QByteArray &payload, UserPrompt &prompt);

} // namespace SystemParameters
