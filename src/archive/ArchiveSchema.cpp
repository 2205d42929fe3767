#include "archive/ArchiveSchema.h"

#include "archive/ArchiveDayCounts.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace ArchiveSchema {

bool create(QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        *error = q.lastError().text();
        return false;
    }
    const int found = q.value(0).toInt();
    q.finish();
    if (found > kVersion) {
        *error = QStringLiteral("it was written by a newer version of Corvalen-Pro");
        return false;
    }
    if (found == kVersion)
        return true;

    const QStringList statements = {
        QStringLiteral("BEGIN IMMEDIATE"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS downloads("
                       " id INTEGER PRIMARY KEY,"
                       " at_ms INTEGER NOT NULL,"   // UTC, milliseconds since the epoch
                       " panel_clock TEXT,"         // the panel's local clock, ISO 8601
                       " lines INTEGER NOT NULL,"
                       " added INTEGER NOT NULL,"
                       " first_seq INTEGER,"        // the events it added: seq first_seq to last_seq
                       " last_seq INTEGER,"
                       " who TEXT NOT NULL,"
                       " via TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS parties("
                       " id INTEGER PRIMARY KEY,"
                       " room BLOB NOT NULL,"
                       " client BLOB NOT NULL,"
                       " UNIQUE(room, client))"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS events("
                       " seq INTEGER PRIMARY KEY,"
                       " download INTEGER NOT NULL,"
                       " party INTEGER NOT NULL,"
                       " kind INTEGER NOT NULL,"
                       " source INTEGER NOT NULL,"
                       " relay BLOB NOT NULL,"
                       " day INTEGER,"              // Julian day of the full date; NULL: none
                       " secs INTEGER,"             // second of the day; NULL: none
                       " hour INTEGER,"
                       " date BLOB NOT NULL,"       // as decoded, or as sent
                       " time BLOB NOT NULL,"
                       " decoded INTEGER NOT NULL," // 0: date or time not hexadecimal
                       " line BLOB NOT NULL)"),
        // Rows by when, filtered by anything but a text, from the index alone.
        QStringLiteral("CREATE INDEX IF NOT EXISTS events_by_day ON events(day, hour, kind, source, relay, party)"),
        // The events of some rooms or clients (a text), counted from the
        // index alone; and one room's or client's events in order.
        QStringLiteral("CREATE INDEX IF NOT EXISTS events_by_party ON events(party, day, hour, source, relay)"),
        ArchiveDayCounts::createTable(),
        QStringLiteral("PRAGMA user_version=%1").arg(kVersion),
        QStringLiteral("COMMIT"),
    };
    for (const QString &sql : statements) {
        if (!q.exec(sql)) {
            *error = q.lastError().text();
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
    return true;
}

} // namespace ArchiveSchema
