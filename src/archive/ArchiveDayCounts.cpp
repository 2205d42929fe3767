#include "archive/ArchiveDayCounts.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

QString ArchiveDayCounts::countColumns(const QString &prefix)
{
    QStringList columns;
    for (int h = 0; h < 24; ++h)
        columns << prefix + QStringLiteral("h%1").arg(h, 2, 10, QLatin1Char('0'));
    columns << prefix + QStringLiteral("untimed");
    return columns.join(QStringLiteral(", "));
}

QString ArchiveDayCounts::createTable()
{
    QStringList columns;
    for (const QString &c : countColumns().split(QStringLiteral(", ")))
        columns << c + QStringLiteral(" INTEGER NOT NULL");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS day_counts("
                          " day INTEGER NOT NULL," // Julian day; 0: no date
                          " kind INTEGER NOT NULL,"
                          " source INTEGER NOT NULL,"
                          " relay BLOB NOT NULL,"
                          " %1,"
                          " PRIMARY KEY(day, kind, source, relay)) WITHOUT ROWID")
        .arg(columns.join(QStringLiteral(", ")));
}

void ArchiveDayCounts::add(const std::optional<QDate> &day, EventKind kind, EventSource source,
                           const QByteArray &relay, const std::optional<int> &hour)
{
    const Key key{day ? day->toJulianDay() : kNoDay, int(kind), int(source), relay.isNull() ? QByteArray("") : relay};
    auto it = cells_.find(key);
    if (it == cells_.end())
        it = cells_.insert(key, {});
    const int column = hour && *hour >= 0 && *hour < 24 ? *hour : 24;
    ++(*it)[size_t(column)];
}

bool ArchiveDayCounts::store(QSqlDatabase &db, QString *error) const
{
    if (cells_.isEmpty())
        return true;
    const QStringList names = countColumns().split(QStringLiteral(", "));
    QStringList updates;
    for (const QString &n : names)
        updates << QStringLiteral("%1 = %1 + excluded.%1").arg(n);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO day_counts(day, kind, source, relay, %1) VALUES(?, ?, ?, ?%2)"
                             " ON CONFLICT(day, kind, source, relay) DO UPDATE SET %3")
                  .arg(countColumns(), QStringLiteral(", ?").repeated(25), updates.join(QStringLiteral(", "))));
    for (auto it = cells_.constBegin(); it != cells_.constEnd(); ++it) {
        int i = 0;
        q.bindValue(i++, it.key().day);
        q.bindValue(i++, it.key().kind);
        q.bindValue(i++, it.key().source);
        q.bindValue(i++, it.key().relay);
        for (qint64 n : it.value())
            q.bindValue(i++, n);
        if (!q.exec()) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
    }
    return true;
}
