#pragma once

#include "table/Report.h"

#include <QList>
#include <QString>

class ParameterControls;
class ParameterFileRecord;

// A site's parameters printed as a sheet: the Setting numbers, the options,
// the messages and the speed dials, each with the label the parameter page
// gives it. The gate codes and the PIN open the gate: they are printed only
// when asked.
namespace ParameterSheet {

struct Line
{
    QString group;   // "Setting", "Options", "Messages", "Speed dials", "Gate codes", "PIN"
    QString setting; // the page's label or caption
    QString value;
};

struct Options
{
    QString site;
    QString from;         // where the values come from: "the panel", a file name
    bool secrets = false; // gate codes and PIN
};

// What the parameter page shows now.
QList<Line> fromControls(const ParameterControls &controls, bool secrets);
// What a parameter file (".sys") holds; it holds no Auto-Answer Ring count,
// no Silence and Continuous Tone Detect, no relay compatibility option and
// no PIN, so the sheet has none of them.
QList<Line> fromFileRecord(const ParameterFileRecord &record, bool secrets);

Report build(const QList<Line> &lines, const Options &options);

} // namespace ParameterSheet
