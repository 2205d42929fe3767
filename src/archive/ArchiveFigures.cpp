#include "archive/ArchiveFigures.h"

void ArchiveFigures::spanDays(const std::optional<QDate> &from, const std::optional<QDate> &to)
{
    perDay.clear();
    firstDay = QDate();
    const qint64 firstEvent = byDay.isEmpty() ? 0 : byDay.firstKey();
    const qint64 lastEvent = byDay.isEmpty() ? 0 : byDay.lastKey();
    qint64 first = from ? from->toJulianDay() : firstEvent;
    qint64 last = to ? to->toJulianDay() : lastEvent;
    if (byDay.isEmpty() && (!from || !to))
        return;
    if (last < first || last - first >= kMaxDays) {
        if (byDay.isEmpty())
            return;
        first = firstEvent;
        last = lastEvent;
    }
    firstDay = QDate::fromJulianDay(first);
    perDay.resize(last - first + 1, 0);
    for (auto it = byDay.constBegin(); it != byDay.constEnd(); ++it)
        if (it.key() >= first && it.key() <= last)
            perDay[it.key() - first] = it.value();
}
