#pragma once

#include "parameters/ParameterComparison.h"

#include <QByteArray>
#include <QList>

// Record 0001 packs sixteen values into nibble pairs; as one field its
// change reads "01030503..." -> "01070503...", which tells nobody anything.
// These are its changes value by value, named as the parameter page names
// them: "Relay on time (s): 5 -> 7", "Use Global Gate Codes: off -> on",
// "Relay2 Override: Normal -> On a key press".
namespace SystemParameterChanges {

// The values of two 32-character records 0001 that differ.
QList<ParameterComparison::FieldChange> between(const QByteArray &before, const QByteArray &after);

// The changes of ParameterComparison::changes with the change of
// record 0001 as one field replaced by its values (when both sides hold
// that record).
QList<ParameterComparison::FieldChange> expand(const QList<ParameterComparison::FieldChange> &changes);

} // namespace SystemParameterChanges
