#include "events/EventSort.h"

#include "events/EventFields.h"

namespace EventSort {

QByteArray sortFieldFor(const QByteArray &column)
{
    if (qstricmp(column.constData(), EventFields::Time) == 0 || qstricmp(column.constData(), EventFields::Date) == 0)
        return EventFields::Event;
    return column;
}

} // namespace EventSort

bool DBGrid2TitleClick(Table &EventTable, const QByteArray &column)
{
    if (!EventTable.isOpen())
        return false;
    const QByteArray field = EventSort::sortFieldFor(column);
    if (EventTable.fieldIndex(field) < 0)
        return false;
    EventTable.sortOn(field, Qt::CaseSensitive);
    EventTable.first();
    return true;
}
