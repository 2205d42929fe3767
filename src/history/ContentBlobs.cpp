#include "history/ContentBlobs.h"

#include "history/HistoryDatabase.h"
#include "history/LineDelta.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QVariant>
#include <vector>

namespace {
constexpr int kCacheKilobytes = 16 * 1024;

int costOf(const QByteArray &bytes)
{
    return int(bytes.size() / 1024) + 1;
}
} // namespace

ContentBlobs::ContentBlobs(const QString &connection)
    : connection_(connection)
    , cache_(kCacheKilobytes)
{
}

QSqlDatabase ContentBlobs::db() const
{
    return QSqlDatabase::database(connection_, false);
}

QByteArray ContentBlobs::hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

std::optional<qint64> ContentBlobs::put(const QByteArray &bytes, const QByteArray &hash, std::optional<qint64> base,
                                        QString *why)
{
    QSqlQuery find(db());
    find.prepare(QStringLiteral("SELECT id FROM content WHERE hash = ?"));
    find.addBindValue(hash);
    if (!HistoryDatabase::run(find, why))
        return std::nullopt;
    if (find.next())
        return find.value(0).toLongLong();
    find.finish();

    QVariant baseId;
    int depth = 0;
    QByteArray data;
    if (base) {
        QSqlQuery q(db());
        q.prepare(QStringLiteral("SELECT depth FROM content WHERE id = ?"));
        q.addBindValue(*base);
        if (!HistoryDatabase::run(q, why))
            return std::nullopt;
        const int baseDepth = q.next() ? q.value(0).toInt() : kMaxDepth;
        q.finish();
        if (baseDepth < kMaxDepth) {
            const std::optional<QByteArray> baseBytes = get(*base, why);
            if (!baseBytes)
                return std::nullopt;
            const std::optional<QByteArray> delta = LineDelta::make(*baseBytes, bytes, kMaxEdits);
            if (delta && delta->size() < bytes.size() / 2) {
                data = qCompress(*delta, 9);
                baseId = *base;
                depth = baseDepth + 1;
            }
        }
    }
    if (data.isEmpty())
        data = qCompress(bytes, 9);

    QSqlQuery insert(db());
    insert.prepare(QStringLiteral("INSERT INTO content (hash, base, depth, size, data) VALUES (?, ?, ?, ?, ?)"));
    insert.addBindValue(hash);
    insert.addBindValue(baseId.isValid() ? baseId : QVariant(QMetaType::fromType<qint64>()));
    insert.addBindValue(depth);
    insert.addBindValue(qint64(bytes.size()));
    insert.addBindValue(data);
    if (!HistoryDatabase::run(insert, why))
        return std::nullopt;
    cache_.insert(hash, new QByteArray(bytes), costOf(bytes));
    return insert.lastInsertId().toLongLong();
}

std::optional<QByteArray> ContentBlobs::get(qint64 id, QString *why)
{
    const auto fail = [why, id](const QString &reason) -> std::optional<QByteArray> {
        if (why)
            *why = QStringLiteral("The history's copy of content %1 is damaged: %2").arg(id).arg(reason);
        return std::nullopt;
    };
    struct Link
    {
        QByteArray hash;
        QByteArray data;
        bool whole;
    };
    std::vector<Link> chain;
    QByteArray bytes;
    bool haveStart = false;
    QSqlQuery q(db());
    q.prepare(QStringLiteral("SELECT base, hash, data FROM content WHERE id = ?"));
    for (qint64 at = id;;) {
        q.addBindValue(at);
        if (!HistoryDatabase::run(q, why))
            return std::nullopt;
        if (!q.next())
            return fail(QStringLiteral("it is missing"));
        const QByteArray hash = q.value(1).toByteArray();
        if (const QByteArray *cached = cache_.object(hash)) {
            bytes = *cached;
            haveStart = true;
            break;
        }
        const bool whole = q.value(0).isNull();
        chain.push_back({hash, q.value(2).toByteArray(), whole});
        if (whole)
            break;
        if (chain.size() > size_t(kMaxDepth) + 1)
            return fail(QStringLiteral("its deltas run in a circle"));
        at = q.value(0).toLongLong();
        q.finish();
    }
    q.finish();
    if (chain.empty())
        return bytes;
    for (auto link = chain.rbegin(); link != chain.rend(); ++link) {
        // Neither a content nor a delta is ever empty: empty means the
        // compressed data is damaged.
        const QByteArray data = qUncompress(link->data);
        if (data.isEmpty())
            return fail(QStringLiteral("it cannot be uncompressed"));
        if (link->whole) {
            bytes = data;
        } else {
            if (!haveStart)
                return fail(QStringLiteral("its chain has no whole copy"));
            const std::optional<QByteArray> next = LineDelta::apply(bytes, data);
            if (!next)
                return fail(QStringLiteral("a delta does not fit"));
            bytes = *next;
        }
        haveStart = true;
    }
    if (hashOf(bytes) != chain.front().hash)
        return fail(QStringLiteral("it does not match its checksum"));
    cache_.insert(chain.front().hash, new QByteArray(bytes), costOf(bytes));
    return bytes;
}
