#pragma once

#include "parameters/ParameterControlIds.h"

// The fixed texts of the parameter page around its value controls: the page,
// its groups and tabs, the buttons with their handlers, the two notes of the
// RelayCodes tab and the parameter file dialogs.
namespace ParameterPageInfo {

inline constexpr const char *kPageName = "system";
inline constexpr const char *kPageCaption = "SystemControls";
inline constexpr const char *kParametersGroupName = "GroupBox3";
inline constexpr const char *kParametersGroupCaption = "Operating Parameters";
inline constexpr const char *kTabControlName = "PhParam";
inline constexpr const char *kMessagesGroupName = "GroupBox2";
inline constexpr const char *kMessagesGroupCaption = "Messages";
inline constexpr const char *kSetupLabelCaption = "User Parameter Setup"; // shown disabled

struct TabInfo
{
    ParamTab tab;
    const char *objectName;
    const char *caption;
};
inline constexpr TabInfo kTabs[] = {
    {ParamTab::Phset, "Phset", "Setting"},
    {ParamTab::phopt, "phopt", "Options"},
    {ParamTab::TabSheet2, "TabSheet2", "RelayCodes"},
    {ParamTab::TabSheet1, "TabSheet1", "SpeedDial #"},
    {ParamTab::TabSheet3, "TabSheet3", "Set PIN"}, // disabled while offline
};

// Where a button sits: on a tab, in the Messages group, or on the page.
enum class ButtonPlace { Tab, Messages, Page };

struct ButtonInfo
{
    const char *objectName;
    const char *caption;
    const char *hint;    // else nullptr
    ButtonPlace place;
    ParamTab tab;        // when place is Tab
    const char *handler; // the procedure it runs
    bool visible;        // UpLoad is never visible
};
inline constexpr ButtonInfo kButtons[] = {
    {"ReadPara0", "Read", nullptr, ButtonPlace::Tab, ParamTab::Phset, "ReadPara1Click", true},
    {"WritePara0", "Write", nullptr, ButtonPlace::Tab, ParamTab::Phset, "WritePara1Click", true},
    {"ReadPara1", "Read", nullptr, ButtonPlace::Tab, ParamTab::phopt, "ReadPara1Click", true},
    {"WritePara1", "Write", nullptr, ButtonPlace::Tab, ParamTab::phopt, "WritePara1Click", true},
    {"ReadCode", "Read", nullptr, ButtonPlace::Tab, ParamTab::TabSheet2, "ReadCodeClick", true},
    {"WriteCode", "Write", nullptr, ButtonPlace::Tab, ParamTab::TabSheet2, "WriteCodeClick", true},
    {"ReadSpd", "Read", nullptr, ButtonPlace::Tab, ParamTab::TabSheet1, "ReadSpdClick", true},
    {"WriteSpd", "Write", nullptr, ButtonPlace::Tab, ParamTab::TabSheet1, "WriteSpdClick", true},
    {"UpDatePIN", "Change PIN", nullptr, ButtonPlace::Tab, ParamTab::TabSheet3, "UpDatePINClick", true},
    {"ReadMsgs", "Read", nullptr, ButtonPlace::Messages, ParamTab::Phset, "ReadMsgsClick", true},
    {"SaveParam", "Write", nullptr, ButtonPlace::Messages, ParamTab::Phset, "SaveParamClick", true},
    {"ReadAll", "Read All", "Read from the Corvalen and show current values", ButtonPlace::Page, ParamTab::Phset,
     "ReadAllClick", true},
    {"WriteAll", "Write All", "Write all the above parameters to the Corvalen", ButtonPlace::Page, ParamTab::Phset,
     "WriteAllClick", true},
    {"UpLoad", "Up Date", "Click to update the Corvalen to use this new data", ButtonPlace::Page, ParamTab::Phset,
     "UpLoadClick", false},
};

struct NoteInfo
{
    ParamNote note;
    const char *objectName;
    const char *caption; // Bevel2 is a frame without a caption
    const char *hint;
};
inline constexpr NoteInfo kNotes[] = {
    {ParamNote::Label47, "Label47", "Global codes currently disabled", "Refer to Options page"},
    {ParamNote::Label31, "Label31", "Note: Relay2 disabled by OverRide option", "Refer to 'Options' Relay2 Override"},
    {ParamNote::Bevel2, "Bevel2", "", nullptr}, // frame around the relay-2 column of code edits
};

// Text colours of the option rules: dimmed is olive.
inline constexpr int kDimmedRed = 128, kDimmedGreen = 128, kDimmedBlue = 0;

// Open and Save As dialogs on the parameter page (Save As asks before
// overwriting). kFileFilter is the filter as the two dialogs list it;
// kQtFileFilter is the same in QFileDialog's notation.
inline constexpr const char *kDefaultExtension = "Sys";
inline constexpr const char *kDefaultFileName = "SysPara";
inline constexpr const char *kFileFilter = "CorvalenParameters(*.sys)|*.sys|All Files (*.*)|*.*";
inline constexpr const char *kQtFileFilter = "CorvalenParameters(*.sys);;All Files (*.*)";

} // namespace ParameterPageInfo
