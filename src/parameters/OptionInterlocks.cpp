#include "parameters/OptionInterlocks.h"

#include "directory/PhoneDirectory.h"
#include "parameters/ParameterControls.h"

namespace OptionInterlocks {

void ShowGlobalCodeState(ParameterControls &c)
{
    const bool global = c.isChecked(ParamCheck::GlobalCode);
    c.setDimmed(ParamEdit::code_g1, !global);
    c.setDimmed(ParamEdit::code_g2, !global);
    c.setNoteShown(ParamNote::Label47, !global);
}

void RefreshCodeHighlights(ParameterControls &c)
{
    PhoneDirectory *directory = c.directory();
    if (directory && directory->PhoneTable.isOpen())
        directory->setCodeColumnsDimmed(c.isChecked(ParamCheck::GlobalCode));
    ShowGlobalCodeState(c);
}

void ApplyRelay2Override(ParameterControls &c)
{
    const bool active = c.isChecked(ParamCheck::rly2key) || c.isChecked(ParamCheck::rly2line);
    c.setDimmed(ParamEdit::code_g2, active);
    c.setDimmed(ParamEdit::code_ic2, active);
    c.setDimmed(ParamEdit::code_sd2, active);
    c.setNoteShown(ParamNote::Bevel2, active);
    c.setNoteShown(ParamNote::Label31, active);
    RefreshCodeHighlights(c);
}

void rly2offClick(ParameterControls &c)
{
    c.setEnabled(ParamCheck::rly2tim, false);
    ApplyRelay2Override(c);
}

void rly2keyClick(ParameterControls &c)
{
    c.setEnabled(ParamCheck::rly2tim, true);
    ApplyRelay2Override(c);
}

void rly2lineClick(ParameterControls &c)
{
    c.setEnabled(ParamCheck::rly2tim, true);
    ApplyRelay2Override(c);
}

namespace {
void followLineTwoChoice(ParameterControls &c)
{
    c.setEnabled(ParamCheck::opt937, c.isChecked(ParamCheck::RadioButton1));
}
} // namespace

void RadioButton1Click(ParameterControls &c)
{
    followLineTwoChoice(c);
}

void opt931Click(ParameterControls &c)
{
    followLineTwoChoice(c);
}

void opt936Click(ParameterControls &c)
{
    followLineTwoChoice(c);
}

void GlobalCodeClick(ParameterControls &c)
{
    RefreshCodeHighlights(c);
}

void runClickRule(ParameterControls &c, ParamCheck check)
{
    switch (check) {
    case ParamCheck::rly2off: rly2offClick(c); break;
    case ParamCheck::rly2key: rly2keyClick(c); break;
    case ParamCheck::rly2line: rly2lineClick(c); break;
    case ParamCheck::RadioButton1: RadioButton1Click(c); break;
    case ParamCheck::opt931: opt931Click(c); break;
    case ParamCheck::opt936: opt936Click(c); break;
    case ParamCheck::GlobalCode: GlobalCodeClick(c); break;
    default: break;
    }
}

void PhParamChange(ParameterControls &c)
{
    c.setSaveParamEnabled(c.currentTab() != ParamTab::TabSheet3 && c.isOnline());
}

} // namespace OptionInterlocks
