#pragma once

#include <QByteArray>

class ParameterControls;

// The 32-character payloads of the PIN (0000), message (0002-0005), gate
// code (0006) and speed dial (0007-0010) records, built from the controls,
// and the decoding of a record's payload into them. A payload to decode is
// what follows the five leading characters of the record's reply line; each
// slice of it passes through CleanReplyField, and a text put into an edit
// ends at its first NUL.
namespace ParameterRecords {

// NewPin filled with 0xFF to 32.
QByteArray EncodePin(const ParameterControls &c);

// record 2: msg0 and msg1, each space-filled to 16; 3 and 4: msg2 and msg3
// NUL-filled to 32; 5: msg4 and msg5, each space-filled to 16.
QByteArray EncodeMessages(const ParameterControls &c, int record);
void DecodeMessages(ParameterControls &c, int record, const QByteArray &payload);

// The six codes (code_g1, code_g2, code_ic1, code_ic2, code_sd1, code_sd2)
// as EncodeGateCode gives them, then eight 0xFF.
QByteArray EncodeGateCodes(const ParameterControls &c);
// Characters 1-24 into the six code edits; 25-32 are not read.
void DecodeGateCodes(ParameterControls &c, const QByteArray &payload);

// record 7 to 10: the odd- then the even-numbered speed dial of the pair,
// each EncodeDialDigits (at most 16) filled with 0xFF to 16.
QByteArray EncodeSpeedDials(const ParameterControls &c, int record);
void DecodeSpeedDials(ParameterControls &c, int record, const QByteArray &payload);

} // namespace ParameterRecords
