#pragma once

#include "parameters/ParameterControlIds.h"

class ParameterControls;

// The rules that keep the option controls consistent: they dim the code
// edits that are out of use, show the two notes of the RelayCodes tab,
// enable the boxes that only make sense with a certain choice and follow the
// directory grid's code columns. They keep no state and send nothing.
namespace OptionInterlocks {

// GlobalCode checked: code_g1 and code_g2 in normal text, Label47 hidden;
// unchecked: both dimmed, Label47 shown.
void ShowGlobalCodeState(ParameterControls &c);
// With the phone table open, dims its code columns while GlobalCode is
// checked; then ShowGlobalCodeState.
void RefreshCodeHighlights(ParameterControls &c);
// An active override (rly2key or rly2line) dims the relay-2 code edits and
// shows Bevel2 and Label31; then RefreshCodeHighlights.
void ApplyRelay2Override(ParameterControls &c);

void rly2offClick(ParameterControls &c);
void rly2keyClick(ParameterControls &c);
void rly2lineClick(ParameterControls &c);
void RadioButton1Click(ParameterControls &c);
void opt931Click(ParameterControls &c);
void opt936Click(ParameterControls &c);
void GlobalCodeClick(ParameterControls &c);

// The rule of a control, as a click on it runs it (nothing for a control
// without one).
void runClickRule(ParameterControls &c, ParamCheck check);

// SaveParam is disabled on the "Set PIN" tab and otherwise follows the
// online state (as UpLoad does).
void PhParamChange(ParameterControls &c);

} // namespace OptionInterlocks
