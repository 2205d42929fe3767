#pragma once

#include <QString>

class ParameterControls;
class UserPrompt;

// The parameter file (".sys", default "SysPara"): the 467 bytes of the
// page's ParameterFileRecord. Save As runs CaptureParameterFile and then
// SaveParameterFile; Open runs LoadParameterFile and, when it succeeds,
// ApplyParameterFile. The file holds nothing for Phs_rc, Sil_time,
// Cont_time, Opt_sw2_1, RadioButton1 and NewPin.
namespace ParameterFile {

// Fills the record from the controls: codes, messages, the eight Setting
// numbers, the Relay2 Override byte, the eight option flags, the speed
// dials. Texts are stored as shown, cut to their capacity.
void CaptureParameterFile(ParameterControls &c);

// Sets the controls from the record in the same order; the Relay2 Override
// field that is not a number stops it with "'%s' is not a valid integer
// value" (the texts before it are already set). With neither opt931 nor
// opt936 flagged, "Fixed2 message" is chosen. RefreshCodeHighlights runs at
// the end. False when it stopped.
bool ApplyParameterFile(ParameterControls &c, UserPrompt &prompt);

// Replaces the file atomically with the record's 467 bytes. "Cannot create
// file %s" when it cannot be created, "Could not save" when the bytes did
// not all reach it (the old file is then kept).
bool SaveParameterFile(const ParameterControls &c, const QString &fileName, UserPrompt &prompt);

// Reads the first 467 bytes of the file into the record (a longer file's
// tail is ignored). "Cannot open file %s" when it cannot be opened; "Could
// not Load from file" CR LF name when it is shorter. On failure the record
// and the controls are left as they were.
bool LoadParameterFile(ParameterControls &c, const QString &fileName, UserPrompt &prompt);

} // namespace ParameterFile
