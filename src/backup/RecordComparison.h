#pragma once

#include "parameters/ParameterRecordSet.h"
#include "rfid/StoreImage.h"

#include <QList>
#include <QString>

// What writing the parameters or the tags changes on the panel, field by
// field or tag by tag, for the question before the write.
namespace RecordComparison {

struct FieldChange
{
    QString field;     // "Scroll message 1", "Gate code 2", "Speed dial 5", "System parameters"
    QByteArray before; // as the panel holds it (fillers dropped)
    QByteArray after;  // as it will be written
};

// The fields of records 0001 to 0010 that differ. A record missing from
// either set counts as differing in every field.
QList<FieldChange> parameterChanges(const ParameterRecordSet &panel, const ParameterRecordSet &written);
// "no changes", or one line per field: "Speed dial 3: 0211 -> 0217".
QString parameterText(const QList<FieldChange> &changes);

struct TagChanges
{
    QList<StoreCodec::Entry> added;   // in the table, not on the panel
    QList<StoreCodec::Entry> removed; // on the panel, not in the table
};
// Tags as (room, code) pairs; order and record do not count.
TagChanges tagChanges(const QList<StoreCodec::Entry> &panel, const QList<StoreCodec::Entry> &written);
// "no changes", or "2 tags added, 1 removed" and a line per tag.
QString tagText(const TagChanges &changes);

} // namespace RecordComparison
