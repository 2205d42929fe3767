#pragma once

// The controls of the parameter page ("SystemControls") that hold values or
// a derived presentation state. Enumerators carry the controls' object names.

// Single-line edits. Their texts are 8-bit (QByteArray).
enum class ParamEdit {
    // Setting tab
    Phs_ml,
    Phs_sl,
    Phs_rt,
    Phs_run,
    Phs_rc,
    Phs_lt,
    Phs_ls,
    Phs_but,
    Phs_na,
    // Options tab
    Cont_time,
    Sil_time,
    // Messages group
    msg0,
    msg1,
    msg2,
    msg3,
    msg4,
    msg5,
    // RelayCodes tab
    code_g1,
    code_g2,
    code_ic1,
    code_ic2,
    code_sd1,
    code_sd2,
    // SpeedDial # tab
    spd1,
    spd2,
    spd3,
    spd4,
    spd5,
    spd6,
    spd7,
    spd8,
    // Set PIN tab
    NewPin,
};
inline constexpr int ParamEditCount = int(ParamEdit::NewPin) + 1;

// Check boxes and radio buttons of the Options tab.
enum class ParamCheck {
    opt930,
    opt931,      // radio, LineTwoChoice
    opt932,
    opt933,
    opt934,
    GlobalCode,
    opt936,      // radio, LineTwoChoice
    opt937,      // check box inside the "LCD Line2 Options" group
    Opt_sw2_1,
    RadioButton1, // radio, LineTwoChoice
    rly2off,     // radio, Relay2 Override
    rly2key,     // radio, Relay2 Override
    rly2line,    // radio, Relay2 Override
    rly2tim,     // check box inside the "Relay2 Override" group
};
inline constexpr int ParamCheckCount = int(ParamCheck::rly2tim) + 1;

// The exclusive choices a radio button belongs to.
enum class ParamChoice { None, LineTwoChoice, Relay2Override };

// Notes and frames on the RelayCodes tab whose visibility the option rules set.
enum class ParamNote { Label47, Label31, Bevel2 };
inline constexpr int ParamNoteCount = int(ParamNote::Bevel2) + 1;

// Tabs of the page control PhParam, by index.
enum class ParamTab { Phset = 0, phopt = 1, TabSheet2 = 2, TabSheet1 = 3, TabSheet3 = 4 };
