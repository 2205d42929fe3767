#include "history/HistoryStore.h"

#include "history/ContentBlobs.h"
#include "history/HistoryContent.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryDiff.h"
#include "history/HistoryWho.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

namespace {

const QString kColumns = QStringLiteral(
    "v.id, v.kind, v.action, v.time, v.last_seen, v.seen, v.who, v.via, v.model, v.entries, v.previous, v.added,"
    " v.removed, v.changed, v.written, v.total, v.refused, v.cut_short, v.refused_items, v.note");

std::optional<BackupKind> kindFromWord(const QString &word)
{
    for (BackupKind k : {BackupKind::Directory, BackupKind::Parameters, BackupKind::Tags})
        if (BackupKinds::word(k) == word)
            return k;
    return std::nullopt;
}

// Empty texts go in as '' (a null QString would be SQL NULL).
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

QDateTime utc(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

HistoryVersion fromRow(const QSqlQuery &q)
{
    HistoryVersion v;
    v.id = q.value(0).toLongLong();
    v.kind = kindFromWord(q.value(1).toString()).value_or(BackupKind::Directory);
    v.action = HistoryActions::fromWord(q.value(2).toString()).value_or(HistoryAction::Read);
    v.time = utc(q.value(3).toLongLong());
    v.lastSeen = utc(q.value(4).toLongLong());
    v.seen = q.value(5).toInt();
    v.who = q.value(6).toString();
    v.via = q.value(7).toString();
    v.model = q.value(8).toString();
    v.entries = q.value(9).toInt();
    v.previous = q.value(10).toLongLong();
    v.added = q.value(11).toInt();
    v.removed = q.value(12).toInt();
    v.changed = q.value(13).toInt();
    if (!q.value(14).isNull()) {
        HistoryWriteResult r;
        r.written = q.value(14).toInt();
        r.total = q.value(15).toInt();
        r.refused = q.value(16).toInt();
        r.cutShort = q.value(17).toBool();
        const QString items = q.value(18).toString();
        if (!items.isEmpty())
            r.refusedItems = items.split(QLatin1Char('\n'));
        v.result = r;
    }
    v.note = q.value(19).toString();
    return v;
}

// The version of a kind just at or before a time, or just after it.
struct Neighbour
{
    qint64 id = 0;
    qint64 content = 0;
    QByteArray hash;
};

std::optional<Neighbour> neighbour(QSqlDatabase db, const QString &kind, qint64 at, bool after, QString *why,
                                   bool *ok)
{
    QSqlQuery q(db);
    q.prepare(after ? QStringLiteral("SELECT v.id, v.content, c.hash FROM version v JOIN content c ON c.id = v.content"
                                     " WHERE v.kind = ? AND v.time > ? ORDER BY v.time, v.id LIMIT 1")
                    : QStringLiteral("SELECT v.id, v.content, c.hash FROM version v JOIN content c ON c.id = v.content"
                                     " WHERE v.kind = ? AND v.time <= ? ORDER BY v.time DESC, v.id DESC LIMIT 1"));
    q.addBindValue(kind);
    q.addBindValue(at);
    *ok = HistoryDatabase::run(q, why);
    if (!*ok || !q.next())
        return std::nullopt;
    return Neighbour{q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toByteArray()};
}

struct Counts
{
    int added = 0;
    int removed = 0;
    int changed = 0;
};

// Against the content before; the first version has every entry added.
std::optional<Counts> countsSince(BackupKind kind, const std::optional<QByteArray> &before,
                                  const HistoryContent::Parsed &after, QString *why)
{
    if (!before)
        return Counts{after.count(), 0, 0};
    const std::optional<HistoryContent::Parsed> older = HistoryContent::parse(kind, *before, why);
    if (!older)
        return std::nullopt;
    const HistoryDiff diff = HistoryDiff::compare(*older, after);
    return Counts{diff.added(), diff.removed(), diff.changed()};
}

} // namespace

HistoryStore::HistoryStore(const QString &folder)
    : folder_(folder)
    , connection_(HistoryDatabase::uniqueConnectionName())
{
}

HistoryStore::~HistoryStore()
{
    blobs_.reset();
    HistoryDatabase::close(connection_);
}

QString HistoryStore::fileName() const
{
    return QDir(folder_).filePath(kFileName);
}

bool HistoryStore::open(QString *why)
{
    if (open_)
        return true;
    QString reason;
    open_ = HistoryDatabase::open(connection_, fileName(), &reason);
    if (open_)
        blobs_ = std::make_unique<ContentBlobs>(connection_);
    lastError_ = reason;
    if (why)
        *why = reason;
    return open_;
}

HistoryStore::Added HistoryStore::fail(const QString &why)
{
    lastError_ = QStringLiteral("Nothing was recorded in the history %1:\n%2")
                     .arg(QDir::toNativeSeparators(fileName()), why);
    Added out;
    out.error = lastError_;
    return out;
}

HistoryStore::Added HistoryStore::add(const HistoryRecord &r)
{
    if (!open_)
        return fail(QStringLiteral("The history is not open."));
    QString why;
    const std::optional<HistoryContent::Parsed> parsed = HistoryContent::parse(r.kind, r.content, &why);
    if (!parsed)
        return fail(why);
    const QByteArray bytes = parsed->bytes();
    const QByteArray hash = ContentBlobs::hashOf(bytes);
    const qint64 at = (r.time.isValid() ? r.time : QDateTime::currentDateTimeUtc()).toMSecsSinceEpoch();
    const QString kind = BackupKinds::word(r.kind);
    QSqlDatabase db = QSqlDatabase::database(connection_, false);

    HistoryDatabase::Transaction tx(db);
    if (!tx.begun())
        return fail(tx.error());
    Added out;
    if (!r.source.isEmpty()) {
        QSqlQuery q(db);
        // Read in before, or the same content already there in that second
        // (recorded when the backup was taken) or seen over it.
        q.prepare(QStringLiteral("SELECT v.id FROM version v WHERE v.source = ? UNION ALL"
                                 " SELECT v.id FROM version v JOIN content c ON c.id = v.content"
                                 " WHERE c.hash = ? AND v.kind = ? AND v.time < ? AND v.last_seen >= ? LIMIT 1"));
        const qint64 second = at - at % 1000;
        for (const QVariant &value : {QVariant(r.source), QVariant(hash), QVariant(kind), QVariant(second + 1000),
                                      QVariant(second)})
            q.addBindValue(value);
        if (!HistoryDatabase::run(q, &why))
            return fail(why);
        if (q.next()) {
            out.outcome = Added::Outcome::AlreadyThere;
            out.id = q.value(0).toLongLong();
            return out;
        }
    }
    bool ok = true;
    const std::optional<Neighbour> before = neighbour(db, kind, at, false, &why, &ok);
    const std::optional<Neighbour> after = ok ? neighbour(db, kind, at, true, &why, &ok) : std::nullopt;
    if (!ok)
        return fail(why);

    if (r.action != HistoryAction::Write && r.source.isEmpty() && before && !after && before->hash == hash) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE version SET seen = seen + 1, last_seen = max(last_seen, ?) WHERE id = ?"));
        q.addBindValue(at);
        q.addBindValue(before->id);
        if (!HistoryDatabase::run(q, &why) || !tx.commit())
            return fail(why.isEmpty() ? tx.error() : why);
        out.outcome = Added::Outcome::Sighting;
        out.id = before->id;
        return out;
    }

    const std::optional<qint64> content =
        blobs_->put(bytes, hash, before ? std::optional<qint64>(before->content) : std::nullopt, &why);
    if (!content)
        return fail(why);
    std::optional<QByteArray> beforeBytes;
    if (before && !(beforeBytes = blobs_->get(before->content, &why)))
        return fail(why);
    const std::optional<Counts> counts = countsSince(r.kind, beforeBytes, *parsed, &why);
    if (!counts)
        return fail(why);

    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "INSERT INTO version (kind, action, time, last_seen, seen, who, via, model, entries, previous, added, removed,"
        " changed, content, written, total, refused, cut_short, refused_items, note, source)"
        " VALUES (?, ?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QVariant none(QMetaType::fromType<qint64>());
    const QVariantList values = {
        kind, HistoryActions::word(r.action), at, at, r.who.isEmpty() ? HistoryWho::current() : r.who, text(r.via),
        text(r.model), parsed->count(), before ? QVariant(before->id) : none, counts->added, counts->removed,
        counts->changed, *content, r.result ? QVariant(r.result->written) : none,
        r.result ? QVariant(r.result->total) : none, r.result ? QVariant(r.result->refused) : none,
        r.result ? QVariant(r.result->cutShort ? 1 : 0) : none,
        r.result ? QVariant(r.result->refusedItems.join(QLatin1Char('\n'))) : QVariant(QMetaType::fromType<QString>()),
        text(r.note), r.source.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(r.source)};
    for (const QVariant &value : values)
        insert.addBindValue(value);
    if (!HistoryDatabase::run(insert, &why))
        return fail(why);
    out.id = insert.lastInsertId().toLongLong();

    if (after) {
        // A version put before later ones in time: the next one now follows it.
        const std::optional<QByteArray> afterBytes = blobs_->get(after->content, &why);
        const std::optional<HistoryContent::Parsed> next =
            afterBytes ? HistoryContent::parse(r.kind, *afterBytes, &why) : std::nullopt;
        const std::optional<Counts> again = next ? countsSince(r.kind, bytes, *next, &why) : std::nullopt;
        if (!again)
            return fail(why);
        QSqlQuery update(db);
        update.prepare(
            QStringLiteral("UPDATE version SET previous = ?, added = ?, removed = ?, changed = ? WHERE id = ?"));
        for (const QVariant &value : {QVariant(out.id), QVariant(again->added), QVariant(again->removed),
                                      QVariant(again->changed), QVariant(after->id)})
            update.addBindValue(value);
        if (!HistoryDatabase::run(update, &why))
            return fail(why);
    }
    if (!tx.commit())
        return fail(tx.error());
    out.outcome = Added::Outcome::Added;
    return out;
}

QList<HistoryVersion> HistoryStore::versions(const Filter &filter) const
{
    QList<HistoryVersion> out;
    if (!open_)
        return out;
    QString sql = QStringLiteral("SELECT %1 FROM version v WHERE 1 = 1").arg(kColumns);
    if (filter.kind)
        sql += QStringLiteral(" AND v.kind = :kind");
    if (filter.action)
        sql += QStringLiteral(" AND v.action = :action");
    sql += QStringLiteral(" ORDER BY v.time DESC, v.id DESC");
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    q.prepare(sql);
    if (filter.kind)
        q.bindValue(QStringLiteral(":kind"), BackupKinds::word(*filter.kind));
    if (filter.action)
        q.bindValue(QStringLiteral(":action"), HistoryActions::word(*filter.action));
    if (!HistoryDatabase::run(q, &lastError_))
        return out;
    while (q.next())
        out.append(fromRow(q));
    return out;
}

std::optional<HistoryVersion> HistoryStore::version(qint64 id) const
{
    if (!open_)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("SELECT %1 FROM version v WHERE v.id = ?").arg(kColumns));
    q.addBindValue(id);
    if (!HistoryDatabase::run(q, &lastError_) || !q.next())
        return std::nullopt;
    return fromRow(q);
}

std::optional<HistoryVersion> HistoryStore::latest(BackupKind kind) const
{
    if (!open_)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("SELECT %1 FROM version v WHERE v.kind = ? ORDER BY v.time DESC, v.id DESC LIMIT 1")
                  .arg(kColumns));
    q.addBindValue(BackupKinds::word(kind));
    if (!HistoryDatabase::run(q, &lastError_) || !q.next())
        return std::nullopt;
    return fromRow(q);
}

std::optional<QByteArray> HistoryStore::content(qint64 id, QString *why)
{
    const auto fail = [why](const QString &reason) -> std::optional<QByteArray> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (!open_)
        return fail(QStringLiteral("The history is not open."));
    QString reason;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("SELECT content FROM version WHERE id = ?"));
    q.addBindValue(id);
    if (!HistoryDatabase::run(q, &reason))
        return fail(reason);
    if (!q.next())
        return fail(QStringLiteral("There is no version %1.").arg(id));
    const qint64 content = q.value(0).toLongLong();
    q.finish();
    std::optional<QByteArray> bytes = blobs_->get(content, &reason);
    if (!bytes)
        return fail(QStringLiteral("Version %1 cannot be read: %2").arg(id).arg(reason));
    return bytes;
}

HistoryStore::Size HistoryStore::size() const
{
    Size out;
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        out.bytesOnDisk += QFileInfo(fileName() + suffix).size();
    if (!open_)
        return out;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (q.exec(QStringLiteral("SELECT (SELECT count(*) FROM version), (SELECT count(*) FROM content),"
                              " (SELECT count(*) FROM content WHERE base IS NULL)"))
        && q.next()) {
        out.versions = q.value(0).toInt();
        out.contents = q.value(1).toInt();
        out.wholeCopies = q.value(2).toInt();
    }
    return out;
}
