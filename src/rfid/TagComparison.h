#pragma once

#include "rfid/StoreCodec.h"

#include <QList>
#include <QString>

// What writing the tags changes on the panel, tag by tag, for the question
// before the write.
namespace TagComparison {

struct Changes
{
    QList<StoreCodec::Entry> added;   // in the table, not on the panel
    QList<StoreCodec::Entry> removed; // on the panel, not in the table
};
// Tags as (room, code) pairs; order and record do not count.
Changes changes(const QList<StoreCodec::Entry> &panel, const QList<StoreCodec::Entry> &written);
// "no changes", or "2 tags added, 1 removed" and a line per tag.
QString text(const Changes &changes);

} // namespace TagComparison
