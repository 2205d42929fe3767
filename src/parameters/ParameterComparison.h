#pragma once

#include "parameters/ParameterRecordSet.h"

#include <QList>
#include <QString>

// What writing the parameters changes on the panel, field by field, for
// the question before the write.
namespace ParameterComparison {

struct FieldChange
{
    QString field;     // "Scroll message 1", "Gate code 2", "Speed dial 5", "System parameters"
    QByteArray before; // as the panel holds it (fillers dropped)
    QByteArray after;  // as it will be written
};

// The fields of records 0001 to 0010 that differ. A record missing from
// either set counts as differing in every field.
QList<FieldChange> changes(const ParameterRecordSet &panel, const ParameterRecordSet &written);
// "no changes", or one line per field: "Speed dial 3: 0211 -> 0217".
QString text(const QList<FieldChange> &changes);

} // namespace ParameterComparison
