#include "archive/ArchiveParties.h"

#include "table/NaturalOrder.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

QByteArray ArchiveParties::key(const QByteArray &room, const QByteArray &client)
{
    // The room text never holds a NUL byte long enough to be ambiguous: it is
    // at most six characters and the length goes first.
    return QByteArray::number(room.size()) + ':' + room + client;
}

bool ArchiveParties::load(QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id, room, client FROM parties WHERE id > ? ORDER BY id"));
    q.addBindValue(lastId_);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    while (q.next()) {
        Party p{q.value(0).toLongLong(), q.value(1).toByteArray(), q.value(2).toByteArray()};
        byId_.insert(p.id, parties_.size());
        byKey_.insert(key(p.room, p.client), p.id);
        lastId_ = qMax(lastId_, p.id);
        parties_.append(std::move(p));
    }
    return true;
}

qint64 ArchiveParties::idOf(QSqlDatabase &db, const QByteArray &room, const QByteArray &client, QString *error)
{
    const QByteArray k = key(room, client);
    if (const auto it = byKey_.constFind(k); it != byKey_.constEnd())
        return *it;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO parties(room, client) VALUES(?, ?)"));
    // A missing field is stored empty, never NULL.
    q.addBindValue(room.isNull() ? QByteArray("") : room);
    q.addBindValue(client.isNull() ? QByteArray("") : client);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return 0;
    }
    Party p{q.lastInsertId().toLongLong(), room, client};
    byId_.insert(p.id, parties_.size());
    byKey_.insert(k, p.id);
    lastId_ = qMax(lastId_, p.id);
    parties_.append(std::move(p));
    return parties_.last().id;
}

void ArchiveParties::forget()
{
    parties_.clear();
    byId_.clear();
    byKey_.clear();
    lastId_ = 0;
}

const ArchiveParties::Party *ArchiveParties::find(qint64 id) const
{
    const auto it = byId_.constFind(id);
    return it == byId_.constEnd() ? nullptr : &parties_.at(*it);
}

QList<qint64> ArchiveParties::matching(const QString &text) const
{
    QList<qint64> ids;
    const QString needle = text.trimmed();
    for (const Party &p : parties_)
        if (QString::fromLatin1(p.room).contains(needle, Qt::CaseInsensitive)
            || QString::fromLatin1(p.client).contains(needle, Qt::CaseInsensitive))
            ids.append(p.id);
    return ids;
}

QList<qint64> ArchiveParties::ordered(bool byClient) const
{
    const NaturalOrder collator;
    struct Keyed
    {
        QString first;
        QString second;
        qint64 id;
    };
    QList<Keyed> keyed;
    keyed.reserve(parties_.size());
    for (const Party &p : parties_) {
        const QString room = QString::fromLatin1(p.room).trimmed();
        const QString client = QString::fromLatin1(p.client).trimmed();
        keyed.append(byClient ? Keyed{client, room, p.id} : Keyed{room, client, p.id});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&collator](const Keyed &a, const Keyed &b) {
        if (const int c = collator.compare(a.first, b.first); c != 0)
            return c < 0;
        if (const int c = collator.compare(a.second, b.second); c != 0)
            return c < 0;
        return a.id < b.id;
    });
    QList<qint64> ids;
    ids.reserve(keyed.size());
    for (const Keyed &k : keyed)
        ids.append(k.id);
    return ids;
}
