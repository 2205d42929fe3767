#pragma once

#include "parameters/ParameterControlIds.h"

// What the parameter page shows for each value control: object name,
// captions, hints, typing limit, default and range. The page builds its
// widgets from these tables; the model takes its defaults from them.
//
// maxLength is a typing limit only. Texts set by decoding and loading may be
// longer (a decoded Cont_time of "255", "ERROR" in a 4-character code edit)
// and are shown whole.

struct ParamEditInfo
{
    ParamEdit id;
    const char *objectName;
    ParamTab tab;             // meaningless when inMessages
    bool inMessages;          // lies in the "Messages" group, not on a tab
    const char *label;        // caption of the edit's label (row label for codes)
    const char *column;       // column label of the code grid, else nullptr
    const char *labelName;    // object name of the label when it has one of its own, else nullptr
    const char *hint;         // the edit's hint, else nullptr
    const char *labelHint;    // the label's hint, else nullptr
    int maxLength;
    const char *defaultText;
    bool numeric;             // clamped to [minimum, maximum] before a write
    int minimum;
    int maximum;
    bool fixedPitch;          // shown in a fixed-pitch font ("Courier")
    bool initiallyVisible;    // Phs_na and its label start hidden
};

struct ParamCheckInfo
{
    ParamCheck id;
    const char *objectName;
    const char *caption;
    const char *hint;         // else nullptr
    bool radio;
    ParamChoice choice;       // the exclusive choice of a radio button
    const char *groupCaption; // the box it sits in, else nullptr
    bool defaultChecked;
    bool defaultEnabled;
    bool visible;             // opt933 is never visible
    int optionBit;            // bit of OptionBits (record 0001 byte 15), or -1
};

namespace ParameterControlInfo {

const ParamEditInfo &edit(ParamEdit id);
const ParamCheckInfo &check(ParamCheck id);

// The radio buttons of one choice, in their order on the page.
const ParamCheck *choiceMembers(ParamChoice choice, int *count);

inline constexpr const char *kFixedPitchFamily = "Courier";

} // namespace ParameterControlInfo
