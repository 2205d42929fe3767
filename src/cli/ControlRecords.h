#pragma once

#include "parameters/ParameterRecordSet.h"

#include <QList>
#include <QString>
#include <optional>

class ParameterControls;
class UserPrompt;

// The parameter records 0001-0010 and the parameter page's controls, both
// ways: what Write All would send for the controls, the controls set from
// records, and a parameter file (".sys") as records, which holds only part
// of record 0001: the rest comes from records given as its base, as a put
// keeps what the file does not hold as the panel has it.
namespace ControlRecords {

// The order Write All sends the records in.
inline const QList<int> kWriteOrder = {6, 2, 3, 4, 5, 7, 8, 9, 10, 1};

// The records of `order` as Write All encodes them from the controls.
ParameterRecordSet encode(ParameterControls &c, const QList<int> &order = kWriteOrder);

// Sets the controls from the records the set holds. False when record 0001
// cannot be decoded.
bool decode(ParameterControls &c, const ParameterRecordSet &records);

// A parameter file read over `base` (empty: the controls' own defaults).
// None after the prompt said why the file cannot be read.
std::optional<ParameterRecordSet> fromSysFile(const QString &fileName, const ParameterRecordSet &base,
                                              UserPrompt &prompt);

// The file's name ends in ".sys" (in any case).
bool isSysFile(const QString &fileName);

} // namespace ControlRecords
