#pragma once

#include "archive/EventFilter.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <optional>

// The archive's counts by day, kind, source and relay, with one count for
// each hour of the day (and one for events without a time): the table
// `day_counts` that the chart of a selection without a text is read from,
// a few rows a day instead of every event. A download adds its events'
// counts in its own transaction, so the counts always agree with the events.
class ArchiveDayCounts
{
public:
    // The day of events without a date that can be.
    static constexpr qint64 kNoDay = 0;

    static QString createTable();
    // "h00, h01, ..., h23, untimed".
    static QString countColumns(const QString &prefix = QString());

    void add(const std::optional<QDate> &day, EventKind kind, EventSource source, const QByteArray &relay,
             const std::optional<int> &hour);
    bool isEmpty() const { return cells_.isEmpty(); }
    // Adds the counts to the table.
    bool store(QSqlDatabase &db, QString *error) const;

private:
    struct Key
    {
        qint64 day;
        int kind;
        int source;
        QByteArray relay;
        bool operator==(const Key &) const = default;
    };
    friend size_t qHash(const Key &k, size_t seed = 0)
    {
        return qHashMulti(seed, k.day, k.kind, k.source, k.relay);
    }
    QHash<Key, std::array<qint64, 25>> cells_;
};
