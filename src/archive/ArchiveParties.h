#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// The rooms and clients of the archive: every distinct pair of room text and
// client name that an event has named, once, with a number the events refer
// to. There are few of them (a building's rooms and residents, the markers),
// so the archive keeps them in memory: a text search runs over them instead
// of over every event, and sorting by room or client orders them, not the
// events. Pairs are never removed; load() reads those added since the last
// load, also by another process.
class ArchiveParties
{
public:
    struct Party
    {
        qint64 id = 0;
        QByteArray room;
        QByteArray client;
    };

    // Reads the pairs added since the last load. False on a database error.
    bool load(QSqlDatabase &db, QString *error);
    // The pair's number, adding the pair when it is new (within the caller's
    // transaction). 0 on a database error.
    qint64 idOf(QSqlDatabase &db, const QByteArray &room, const QByteArray &client, QString *error);

    // Forgets every pair: after a transaction that added some was rolled
    // back, the next load() reads what the database really holds.
    void forget();

    const Party *find(qint64 id) const;
    int size() const { return int(parties_.size()); }

    // The pairs whose room text or client name contains text, ignoring case
    // (Latin-1 letters included).
    QList<qint64> matching(const QString &text) const;
    // Every pair in the order of the room text (or of the client name), the
    // other field second, by NaturalOrder ("9" before "10", case ignored).
    QList<qint64> ordered(bool byClient) const;

private:
    static QByteArray key(const QByteArray &room, const QByteArray &client);

    QList<Party> parties_;
    QHash<qint64, qsizetype> byId_;
    QHash<QByteArray, qint64> byKey_;
    qint64 lastId_ = 0;
};
