#include "history/HistoryDatabase.h"

#include "table/SqliteOpening.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace HistoryDatabase {

namespace {

const QStringList kSchema = {
    // Each distinct content once, found by its SHA-256. `data` is the whole
    // content (base NULL) or a LineDelta against the content `base`, depth
    // steps from a whole copy; either compressed with zlib (qCompress).
    QStringLiteral("CREATE TABLE content ("
                   " id INTEGER PRIMARY KEY,"
                   " hash BLOB NOT NULL UNIQUE,"
                   " base INTEGER REFERENCES content(id),"
                   " depth INTEGER NOT NULL,"
                   " size INTEGER NOT NULL,"
                   " data BLOB NOT NULL)"),
    // AUTOINCREMENT: an id is never given twice, not even after a delete.
    // Times in milliseconds since the epoch, UTC.
    QStringLiteral("CREATE TABLE version ("
                   " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                   " kind TEXT NOT NULL,"
                   " action TEXT NOT NULL,"
                   " time INTEGER NOT NULL,"
                   " last_seen INTEGER NOT NULL,"
                   " seen INTEGER NOT NULL,"
                   " who TEXT NOT NULL,"
                   " via TEXT NOT NULL,"
                   " model TEXT NOT NULL,"
                   " entries INTEGER NOT NULL,"
                   " previous INTEGER,"
                   " added INTEGER NOT NULL,"
                   " removed INTEGER NOT NULL,"
                   " changed INTEGER NOT NULL,"
                   " content INTEGER NOT NULL REFERENCES content(id),"
                   " written INTEGER, total INTEGER, refused INTEGER, cut_short INTEGER, refused_items TEXT,"
                   " note TEXT NOT NULL DEFAULT '',"
                   " source TEXT UNIQUE)"),
    QStringLiteral("CREATE INDEX version_by_time ON version(time, id)"),
    QStringLiteral("CREATE INDEX version_by_kind ON version(kind, time, id)"),
    QStringLiteral("CREATE INDEX version_by_content ON version(content)"),
};

bool isNewFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    return !info.exists() || info.size() == 0;
}

// An empty file is an empty database to SQLite; made first, so that the
// history never exists readable by others.
bool makeOwnerOnly(const QString &fileName, QString *why)
{
    if (!QDir().mkpath(QFileInfo(fileName).absolutePath())) {
        *why = QStringLiteral("Cannot create folder %1").arg(QDir::toNativeSeparators(QFileInfo(fileName).absolutePath()));
        return false;
    }
    if (QFileInfo::exists(fileName))
        return true;
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(fileName))
            return true; // another program made it just now
        *why = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(fileName));
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

bool setUp(QSqlDatabase db, QString *why)
{
    QSqlQuery q(db);
    // A file that is not a database fails here, before anything is written.
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        *why = describe(q.lastError());
        return false;
    }
    q.finish();
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next()
        || q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        *why = QStringLiteral("The history could not be switched to write-ahead logging. %1").arg(describe(q.lastError()));
        return false;
    }
    q.finish();
    if (!exec(db, QStringLiteral("PRAGMA synchronous=FULL"), why))
        return false;

    Transaction tx(db);
    if (!tx.begun()) {
        *why = tx.error();
        return false;
    }
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        *why = describe(q.lastError());
        return false;
    }
    const int version = q.value(0).toInt();
    q.finish();
    if (version > kSchemaVersion) {
        *why = QStringLiteral("The history was made by a newer version of Corvalen-Pro; this one cannot add to it.");
        return false;
    }
    if (version == kSchemaVersion)
        return true;
    for (const QString &sql : kSchema)
        if (!exec(db, sql, why))
            return false;
    if (!exec(db, QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion), why))
        return false;
    if (!tx.commit()) {
        *why = tx.error();
        return false;
    }
    return true;
}

} // namespace

QString uniqueConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("corvalen-history-%1").arg(++counter);
}

bool open(const QString &connection, const QString &fileName, QString *why)
{
    QString reason;
    const SqliteOpening opening(fileName, kBusyMs);
    if (!opening.held()) {
        if (why)
            *why = QStringLiteral("The history %1 cannot be opened:\nAnother program kept it busy.")
                       .arg(QDir::toNativeSeparators(fileName));
        return false;
    }
    const bool fresh = isNewFile(fileName);
    bool ok = makeOwnerOnly(fileName, &reason);
    if (ok) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(fileName);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMs));
        if (!db.isValid())
            reason = QStringLiteral("The SQLite driver of Qt (libqt6sql6-sqlite) is not installed.");
        else if (!db.open())
            reason = describe(db.lastError());
        ok = db.isOpen() && setUp(db, &reason);
    }
    if (!ok) {
        close(connection);
        if (fresh && QFileInfo(fileName).size() == 0)
            QFile::remove(fileName);
        if (why)
            *why = QStringLiteral("The history %1 cannot be opened:\n%2").arg(QDir::toNativeSeparators(fileName), reason);
    }
    return ok;
}

void close(const QString &connection)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        if (db.isOpen())
            db.close();
    }
    if (QSqlDatabase::contains(connection))
        QSqlDatabase::removeDatabase(connection);
}

Transaction::Transaction(QSqlDatabase db)
    : db_(db)
{
    begun_ = exec(db_, QStringLiteral("BEGIN IMMEDIATE"), &error_);
}

Transaction::~Transaction()
{
    if (begun_ && !done_) {
        QSqlQuery q(db_);
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

bool Transaction::commit()
{
    if (!begun_ || done_)
        return false;
    done_ = exec(db_, QStringLiteral("COMMIT"), &error_);
    return done_;
}

bool run(QSqlQuery &query, QString *why)
{
    if (query.exec())
        return true;
    if (why)
        *why = describe(query.lastError());
    return false;
}

bool exec(QSqlDatabase db, const QString &sql, QString *why)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    if (why)
        *why = describe(q.lastError());
    return false;
}

QString describe(const QSqlError &error)
{
    // SQLite's primary result codes (the low byte of an extended code).
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("Another program kept the history busy for more than %1 seconds.").arg(kBusyMs / 1000);
    case 13: // SQLITE_FULL
        return QStringLiteral("The disk is full.");
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("The file is damaged or is not a history (%1).").arg(error.databaseText());
    case 8: // SQLITE_READONLY
        return QStringLiteral("The history may not be written (read-only file or folder).");
    }
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.isEmpty() ? QStringLiteral("unknown error") : text;
}

} // namespace HistoryDatabase
