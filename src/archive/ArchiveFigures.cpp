#include "archive/ArchiveFigures.h"

#include "archive/ArchiveDayCounts.h"
#include "archive/ArchiveTerms.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {
bool failed(const QSqlQuery &q, QString *error)
{
    if (error)
        *error = q.lastError().text();
    return false;
}
} // namespace

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

bool ArchiveFigures::readEvents(QSqlDatabase &db, const ArchiveTerms &terms, QString *error)
{
    if (terms.nothing)
        return true;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // Grouped in the party index's own order: no sorting on the way.
    q.prepare(QStringLiteral("SELECT day, hour, count(*) FROM events WHERE %1 GROUP BY party, day, hour")
                  .arg(terms.sql));
    terms.bind(q);
    if (!q.exec())
        return failed(q, error);
    while (q.next()) {
        const qint64 n = q.value(2).toLongLong();
        total += n;
        if (q.value(0).isNull())
            undated += n;
        else
            byDay[q.value(0).toLongLong()] += n;
        const int hour = q.value(1).isNull() ? -1 : q.value(1).toInt();
        if (hour >= 0 && hour < 24)
            perHour[size_t(hour)] += n;
        else
            untimed += n;
    }
    return true;
}

bool ArchiveFigures::readDayCounts(QSqlDatabase &db, const ArchiveTerms &terms, QString *error)
{
    QStringList sums;
    for (const QString &column : ArchiveDayCounts::countColumns().split(QStringLiteral(", ")))
        sums << QStringLiteral("sum(%1)").arg(column);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT day, %1 FROM day_counts WHERE %2 GROUP BY day")
                  .arg(sums.join(QStringLiteral(", ")), terms.sql));
    terms.bind(q);
    if (!q.exec())
        return failed(q, error);
    while (q.next()) {
        const qint64 day = q.value(0).toLongLong();
        qint64 onDay = 0;
        for (int h = 0; h < 24; ++h) {
            const qint64 n = q.value(1 + h).toLongLong();
            perHour[size_t(h)] += n;
            onDay += n;
        }
        const qint64 noTime = q.value(25).toLongLong();
        untimed += noTime;
        onDay += noTime;
        total += onDay;
        if (day == ArchiveDayCounts::kNoDay)
            undated += onDay;
        else if (onDay > 0)
            byDay[day] += onDay;
    }
    return true;
}
