#pragma once

struct TransferContext;
class ParameterControls;

// The Read buttons of the parameter page. Each sends one command, waits its
// fixed time (the reads do not wait for "OK") and decodes what the reply
// lines hold; a missing or short reply leaves "ERROR" in the text edits or
// stops the system-parameter decode with its message. The handlers hold the
// exchange guard; the steps without "Click" are for composing.
namespace ParameterReads {

// "r0001", 1000 ticks, line 0 characters 6-53 into the Setting and Options
// controls; then, whatever happened, the file record is captured and Save As
// offered. Shows the transfer window.
//
// Each step returns whether its reply came whole (its record lines and the
// panel's "OK" within the step's time); the page does not look, a caller
// that must not go on with half a read does.
bool readSystemParameters(TransferContext &ctx, ParameterControls &c);
// "r0006", 500 ticks, line 0 characters 6-29 into the six code edits, then
// RefreshCodeHighlights; capture and Save As as above. Hourglass and
// transfer window.
bool readGateCodes(TransferContext &ctx, ParameterControls &c);
// "d00020005", 1000 ticks, lines 1-4 into the six message edits. Transfer
// window.
bool readMessages(TransferContext &ctx, ParameterControls &c);
// "d00070010", 1000 ticks, lines 1-4 into the eight speed dials.
bool readSpeedDials(TransferContext &ctx, ParameterControls &c);

void ReadPara1Click(TransferContext &ctx, ParameterControls &c);
void ReadCodeClick(TransferContext &ctx, ParameterControls &c);
void ReadMsgsClick(TransferContext &ctx, ParameterControls &c);
void ReadSpdClick(TransferContext &ctx, ParameterControls &c);
// Codes, messages, system parameters, codes again, speed dials.
void ReadAllClick(TransferContext &ctx, ParameterControls &c);
// The same; true when every reply came whole (false also when another
// exchange was running and nothing was sent).
bool readAll(TransferContext &ctx, ParameterControls &c);

} // namespace ParameterReads
