#include "parameters/ParameterControlInfo.h"

#include <array>

namespace {

using T = ParamTab;
using C = ParamChoice;

constexpr ParamEditInfo numeric(ParamEdit id, const char *name, ParamTab tab, const char *label, const char *hint,
                                const char *labelHint, int maxLength, const char *def, int min, int max)
{
    return {id, name, tab, false, label, nullptr, nullptr, hint, labelHint, maxLength, def, true, min, max, false, true};
}

constexpr ParamEditInfo message(ParamEdit id, const char *name, const char *label, const char *hint, int maxLength)
{
    return {id, name, T::Phset, true, label, nullptr, nullptr, hint, nullptr, maxLength, "", false, 0, 0, true, true};
}

constexpr ParamEditInfo code(ParamEdit id, const char *name, const char *row, const char *column)
{
    return {id, name, T::TabSheet2, false, row, column, nullptr, nullptr, nullptr, 4, "", false, 0, 0, false, true};
}

constexpr ParamEditInfo dial(ParamEdit id, const char *name, const char *label, const char *def)
{
    return {id, name, T::TabSheet1, false, label, nullptr, nullptr, nullptr, nullptr, 16, def, false, 0, 0, false, true};
}

const char *const kGlobalRow = "Global Gate Codes";
const char *const kIncomingRow = "Incomming Calls Gate Codes";
const char *const kSpeedRow = "SpeedButtons Gate Codes";

const std::array<ParamEditInfo, ParamEditCount> kEdits = {{
    numeric(ParamEdit::Phs_ml, "Phs_ml", T::Phset, "Mic level (0-1)", "0 or 1", nullptr, 3, "1", 0, 1),
    numeric(ParamEdit::Phs_sl, "Phs_sl", T::Phset, "Speaker level (1-4)", "1 to 4", nullptr, 3, "3", 1, 4),
    numeric(ParamEdit::Phs_rt, "Phs_rt", T::Phset, "Relay on time (s)", "1 to 99", "1 to 99 seconds", 3, "5", 1, 99),
    numeric(ParamEdit::Phs_run, "Phs_run", T::Phset, "Run Timer (m)", "1 to 99",
            "Conversation timer (1 to 99minutes)", 3, "3", 1, 99),
    numeric(ParamEdit::Phs_rc, "Phs_rc", T::Phset, "Auto-Answer Ring count", "1 to 30", "1 to 30 counts", 3, "2", 1,
            35),
    numeric(ParamEdit::Phs_lt, "Phs_lt", T::Phset, "Lift Relay time (m)", "0 to 9",
            "Used with 'lift control' units and 'No Bill' units (1 to 9minutes)", 3, "0", 0, 9),
    numeric(ParamEdit::Phs_ls, "Phs_ls", T::Phset, "LCD Scroll Speed", "0 to 50",
            "Message scrolling speed (1 to 50) ", 3, "20", 0, 50),
    numeric(ParamEdit::Phs_but, "Phs_but", T::Phset, "Button on time (s)  NB: for push button models", "1 to 15",
            "Used on models fitted with Speed dial buttons (1 to 15 seconds)", 3, "1", 1, 15),
    {ParamEdit::Phs_na, "Phs_na", T::Phset, false, "No Answer Ring Time (s)", nullptr, "Label21", "15 to 99",
     "NB Not used.", 3, "15", true, 15, 99, false, false},
    numeric(ParamEdit::Cont_time, "Cont_time", T::phopt, "Continuous Tone Detect (0.1s)", "IE 20= 2.0 seconds",
            "Enter value in 0.1 second intervals (0=off)", 2, "20", 0, 99),
    numeric(ParamEdit::Sil_time, "Sil_time", T::phopt, "Silence Detect (sec)", nullptr,
            "Seconds of Silence Detect (0=off)", 2, "20", 0, 50),
    message(ParamEdit::msg0, "msg0", "Fixed1", "Fixed message for line1", 16),
    message(ParamEdit::msg1, "msg1", "Fixed2", "Fixed message for line2", 16),
    message(ParamEdit::msg2, "msg2", "Scroll1", "Scrolling message for line1", 32),
    message(ParamEdit::msg3, "msg3", "Scroll2", "Scrolling message for line2", 32),
    message(ParamEdit::msg4, "msg4", "Pulsing Msg1", "Alternating messages for line 2", 16),
    message(ParamEdit::msg5, "msg5", "Pulsing Msg2", "Alternating messages for line 2", 16),
    code(ParamEdit::code_g1, "code_g1", kGlobalRow, "Relay1"),
    code(ParamEdit::code_g2, "code_g2", kGlobalRow, "Relay2"),
    code(ParamEdit::code_ic1, "code_ic1", kIncomingRow, "Relay1"),
    code(ParamEdit::code_ic2, "code_ic2", kIncomingRow, "Relay2"),
    code(ParamEdit::code_sd1, "code_sd1", kSpeedRow, "Relay1"),
    code(ParamEdit::code_sd2, "code_sd2", kSpeedRow, "Relay2"),
    dial(ParamEdit::spd1, "spd1", "SpeedNo.1", "36001"),
    dial(ParamEdit::spd2, "spd2", "SpeedNo.2", "36002"),
    dial(ParamEdit::spd3, "spd3", "SpeedNo.3", "36003"),
    dial(ParamEdit::spd4, "spd4", "SpeedNo.4", "36004"),
    dial(ParamEdit::spd5, "spd5", "SpeedNo.5", "36005"),
    dial(ParamEdit::spd6, "spd6", "SpeedNo.6", "36006"),
    dial(ParamEdit::spd7, "spd7", "SpeedNo.7", "36007"),
    dial(ParamEdit::spd8, "spd8", "SpeedNo.8", "36008"),
    {ParamEdit::NewPin, "NewPin", T::TabSheet3, false, "New PIN", nullptr, nullptr, nullptr, nullptr, 16, "", false, 0,
     0, false, true},
}};

const char *const kLineTwo = "LCD Line2 Options";
const char *const kRelay2 = "Relay2 Override";

const std::array<ParamCheckInfo, ParamCheckCount> kChecks = {{
    {ParamCheck::opt930, "opt930", "Sroll Line 1", nullptr, false, C::None, nullptr, false, true, true, 0},
    {ParamCheck::opt931, "opt931", "Sroll Line 2", "Use Scroll2 message", true, C::LineTwoChoice, kLineTwo, false, true,
     true, 1},
    {ParamCheck::opt932, "opt932", "Sw. off after gate release", nullptr, false, C::None, nullptr, true, true, true, 2},
    {ParamCheck::opt933, "opt933", "Modem enable", nullptr, false, C::None, nullptr, true, true, false, 3},
    {ParamCheck::opt934, "opt934", "Gate access on in-calls", nullptr, false, C::None, nullptr, false, true, true, 4},
    {ParamCheck::GlobalCode, "GlobalCode", "Use Global Gate Codes", nullptr, false, C::None, nullptr, false, true, true,
     5},
    {ParamCheck::opt936, "opt936", "Enable pulsing msgs", "Alternate Pulsing message 1 and 2", true, C::LineTwoChoice,
     kLineTwo, false, true, true, 6},
    {ParamCheck::opt937, "opt937", "Show Clock on LCD", "Shows the time of day on line 2", false, C::None, kLineTwo,
     false, true, true, 7},
    {ParamCheck::Opt_sw2_1, "Opt_sw2_1", "Enable Ubrin compatibility for relay control",
     "Tick this box to open gate using #1+code or #2+code", false, C::None, nullptr, false, true, true, -1},
    {ParamCheck::RadioButton1, "RadioButton1", "Fixed2 message", "Use Fixed2 message", true, C::LineTwoChoice, kLineTwo,
     true, true, true, -1},
    {ParamCheck::rly2off, "rly2off", "Normal", nullptr, true, C::Relay2Override, kRelay2, true, true, true, -1},
    {ParamCheck::rly2key, "rly2key", "On a key press", "Relay 2 will activate when a key is pressed", true,
     C::Relay2Override, kRelay2, false, true, true, -1},
    {ParamCheck::rly2line, "rly2line", "When Line is looped", "Relay 2 will activate when on line", true,
     C::Relay2Override, kRelay2, false, true, true, -1},
    {ParamCheck::rly2tim, "rly2tim", "Don't use timer", "Tick so that relay will stay on for the duration of the call.",
     false, C::None, kRelay2, false, false, true, -1},
}};

constexpr ParamCheck kLineTwoMembers[] = {ParamCheck::RadioButton1, ParamCheck::opt931, ParamCheck::opt936};
constexpr ParamCheck kRelay2Members[] = {ParamCheck::rly2off, ParamCheck::rly2key, ParamCheck::rly2line};

} // namespace

namespace ParameterControlInfo {

const ParamEditInfo &edit(ParamEdit id)
{
    return kEdits[std::size_t(id)];
}

const ParamCheckInfo &check(ParamCheck id)
{
    return kChecks[std::size_t(id)];
}

const ParamCheck *choiceMembers(ParamChoice choice, int *count)
{
    switch (choice) {
    case ParamChoice::LineTwoChoice:
        *count = 3;
        return kLineTwoMembers;
    case ParamChoice::Relay2Override:
        *count = 3;
        return kRelay2Members;
    case ParamChoice::None:
        break;
    }
    *count = 0;
    return nullptr;
}

} // namespace ParameterControlInfo
