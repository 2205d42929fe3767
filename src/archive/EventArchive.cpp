#include "archive/EventArchive.h"

#include "archive/ArchiveDates.h"
#include "archive/ArchiveDayCounts.h"
#include "archive/ArchiveLine.h"
#include "archive/ArchiveOverlap.h"
#include "archive/ArchiveSchema.h"
#include "table/SqliteOpening.h"

#include <QAtomicInteger>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTimeZone>

namespace {

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("corvalen-event-archive-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString errorOf(const QSqlQuery &q)
{
    return q.lastError().text();
}
} // namespace

EventArchive::EventArchive(const QString &folder)
    : folder_(folder)
    , fileName_(QDir(folder).filePath(QString::fromLatin1(kFileName)))
    , connection_(nextConnectionName())
{
}

EventArchive::~EventArchive()
{
    if (db_.isValid())
        db_.close();
    db_ = QSqlDatabase();
    if (QSqlDatabase::contains(connection_))
        QSqlDatabase::removeDatabase(connection_);
}

QString EventArchive::who()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    if (user.isEmpty())
        user = QStringLiteral("unknown");
    return user + u'@' + QSysInfo::machineHostName();
}

bool EventArchive::exec(const QString &sql, QString *error)
{
    QSqlQuery q(db_);
    if (q.exec(sql))
        return true;
    if (error)
        *error = errorOf(q);
    return false;
}

bool EventArchive::open(QString *error)
{
    if (db_.isOpen())
        return true;
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("The event archive %1 cannot be opened: %2").arg(fileName_, why);
        if (db_.isOpen())
            db_.close();
        return false;
    };
    if (!QDir().mkpath(folder_))
        return fail(QStringLiteral("the folder cannot be created"));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QStringLiteral("the SQLite driver of Qt is missing (package libqt6sql6-sqlite)"));
    const SqliteOpening opening(fileName_, kBusyTimeoutMs);
    if (!opening.held())
        return fail(QStringLiteral("another program kept it busy"));
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db_.setDatabaseName(fileName_);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db_.open())
        return fail(db_.lastError().text());

    QString why;
    // WAL lets readers go on while another process writes; NORMAL is safe
    // with WAL (a power cut may lose the last commit, never corrupt).
    if (!exec(QStringLiteral("PRAGMA journal_mode=WAL"), &why) || !exec(QStringLiteral("PRAGMA synchronous=NORMAL"), &why)
        || !exec(QStringLiteral("PRAGMA cache_size=-16000"), &why))
        return fail(why);
    if (!ArchiveSchema::create(db_, &why))
        return fail(why);
    if (!parties_.load(db_, &why))
        return fail(why);
    return true;
}

ArchiveParties &EventArchive::parties()
{
    parties_.load(db_, nullptr);
    return parties_;
}

qint64 EventArchive::eventCount()
{
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM events")) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

EventArchive::Added EventArchive::addDownload(const Download &download)
{
    Added result;
    result.received = int(download.lines.size());
    if (!db_.isOpen()) {
        result.error = QStringLiteral("The event archive is not open.");
        return result;
    }
    QString why;
    bool inTransaction = false;
    auto fail = [&]() {
        if (inTransaction) {
            exec(QStringLiteral("ROLLBACK"), nullptr);
            parties_.forget(); // pairs added in the transaction are gone again
        }
        result.error = QStringLiteral("The events could not be added to the archive %1: %2").arg(fileName_, why);
        result.added = result.undated = 0;
        return result;
    };

    // The write lock first: another process's download cannot slip in
    // between looking at the archive's end and adding after it.
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"), &why))
        return fail();
    inTransaction = true;
    if (!parties_.load(db_, &why))
        return fail();

    QList<QByteArray> keys;
    keys.reserve(download.lines.size());
    for (const QByteArray &line : download.lines)
        keys.append(ArchiveOverlap::matchKey(line));

    QList<QByteArray> tail;
    {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT line FROM events ORDER BY seq DESC LIMIT ?"));
        q.addBindValue(qMax<qsizetype>(keys.size(), 1));
        if (!q.exec()) {
            why = errorOf(q);
            return fail();
        }
        while (q.next())
            tail.prepend(ArchiveOverlap::matchKey(q.value(0).toByteArray()));
    }
    const qsizetype known = ArchiveOverlap::overlap(tail, keys);

    const QDateTime at = download.downloadedAt.isValid() ? download.downloadedAt : QDateTime::currentDateTime();
    qint64 downloadId = 0;
    {
        QSqlQuery q(db_);
        q.prepare(QStringLiteral(
            "INSERT INTO downloads(at_ms, panel_clock, lines, added, who, via) VALUES(?, ?, ?, ?, ?, ?)"));
        q.addBindValue(at.toMSecsSinceEpoch());
        q.addBindValue(download.panelClock && download.panelClock->isValid()
                           ? QVariant(download.panelClock->toString(Qt::ISODate))
                           : QVariant(QMetaType::fromType<QString>()));
        q.addBindValue(result.received);
        q.addBindValue(int(keys.size() - known));
        q.addBindValue(who());
        q.addBindValue(download.via);
        if (!q.exec()) {
            why = errorOf(q);
            return fail();
        }
        downloadId = q.lastInsertId().toLongLong();
    }

    const QDate reference = ArchiveDates::referenceDate(at, download.panelClock);
    QSqlQuery insert(db_);
    insert.prepare(QStringLiteral("INSERT INTO events(download, party, kind, source, relay, day, secs, hour, date,"
                                  " time, decoded, line) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QVariant none = QVariant(QMetaType::fromType<qlonglong>());
    qint64 firstSeq = 0;
    qint64 lastSeq = 0;
    ArchiveDayCounts counts;
    for (qsizetype i = known; i < download.lines.size(); ++i) {
        const QByteArray &line = download.lines.at(i);
        const ArchiveLine e = ArchiveLine::decode(line, reference);
        const qint64 party = parties_.idOf(db_, e.room, e.client, &why);
        if (party == 0)
            return fail();
        insert.bindValue(0, downloadId);
        insert.bindValue(1, party);
        insert.bindValue(2, int(e.kind));
        insert.bindValue(3, int(e.source));
        insert.bindValue(4, e.relay.isNull() ? QByteArray("") : e.relay);
        insert.bindValue(5, e.fullDate ? QVariant(e.fullDate->toJulianDay()) : none);
        insert.bindValue(6, e.second ? QVariant(*e.second) : none);
        insert.bindValue(7, e.second ? QVariant(*e.second / 3600) : none);
        insert.bindValue(8, e.date.isNull() ? QByteArray("") : e.date);
        insert.bindValue(9, e.time.isNull() ? QByteArray("") : e.time);
        insert.bindValue(10, e.decoded ? 1 : 0);
        insert.bindValue(11, line.isNull() ? QByteArray("") : line);
        if (!insert.exec()) {
            why = errorOf(insert);
            return fail();
        }
        lastSeq = insert.lastInsertId().toLongLong();
        if (result.added == 0)
            firstSeq = lastSeq;
        counts.add(e.fullDate, e.kind, e.source, e.relay, e.second ? std::optional<int>(*e.second / 3600) : std::nullopt);
        ++result.added;
        if (!e.fullDate)
            ++result.undated;
    }
    insert.finish();
    if (!counts.store(db_, &why))
        return fail();
    if (result.added > 0) {
        QSqlQuery q(db_);
        q.prepare(QStringLiteral("UPDATE downloads SET first_seq = ?, last_seq = ? WHERE id = ?"));
        q.addBindValue(firstSeq);
        q.addBindValue(lastSeq);
        q.addBindValue(downloadId);
        if (!q.exec()) {
            why = errorOf(q);
            return fail();
        }
    }
    if (!exec(QStringLiteral("COMMIT"), &why))
        return fail();
    downloadTimes_.insert(downloadId, at.toUTC());
    result.ok = true;
    result.download = downloadId;
    return result;
}

QList<EventArchive::DownloadInfo> EventArchive::downloads(QString *error)
{
    QList<DownloadInfo> list;
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, at_ms, panel_clock, lines, added, who, via FROM downloads ORDER BY id"))) {
        if (error)
            *error = errorOf(q);
        return list;
    }
    while (q.next()) {
        DownloadInfo d;
        d.id = q.value(0).toLongLong();
        d.at = QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong(), Qt::UTC);
        if (!q.value(2).isNull())
            d.panelClock = QDateTime::fromString(q.value(2).toString(), Qt::ISODate);
        d.lines = q.value(3).toInt();
        d.added = q.value(4).toInt();
        d.who = q.value(5).toString();
        d.via = q.value(6).toString();
        downloadTimes_.insert(d.id, d.at);
        list.append(d);
    }
    return list;
}

QDateTime EventArchive::downloadTime(qint64 id)
{
    if (const auto it = downloadTimes_.constFind(id); it != downloadTimes_.constEnd())
        return *it;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT at_ms FROM downloads WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec() || !q.next())
        return {};
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(q.value(0).toLongLong(), Qt::UTC);
    downloadTimes_.insert(id, at);
    return at;
}
