#include "archive/ArchiveTerms.h"

#include "archive/ArchiveDayCounts.h"

#include <QStringList>

namespace {
QString idList(const QList<qint64> &ids)
{
    QStringList out;
    out.reserve(ids.size());
    for (qint64 id : ids)
        out << QString::number(id);
    return out.join(u',');
}

// The relay of an event is stored even when the line had none.
QByteArray relayValue(const QByteArray &relay)
{
    return relay.isNull() ? QByteArray("") : relay;
}
} // namespace

ArchiveTerms ArchiveTerms::events(const EventFilter &filter, const QList<qint64> &parties, qint64 lastSeq)
{
    ArchiveTerms w;
    // "+" keeps the planner from reading the table in seq order to apply it.
    QStringList terms{QStringLiteral("+seq <= ?")};
    w.values << lastSeq;
    if (filter.from) {
        terms << QStringLiteral("day >= ?");
        w.values << filter.from->toJulianDay();
    }
    if (filter.to) {
        terms << QStringLiteral("day <= ?");
        w.values << filter.to->toJulianDay();
    }
    if (!filter.text.trimmed().isEmpty()) {
        // The kind follows from the room: it is in the list already.
        if (parties.isEmpty())
            w.nothing = true;
        else
            terms << QStringLiteral("party IN (%1)").arg(idList(parties));
    } else if (filter.kind) {
        terms << QStringLiteral("kind = ?");
        w.values << int(*filter.kind);
    }
    if (filter.source) {
        terms << QStringLiteral("source = ?");
        w.values << int(*filter.source);
    }
    if (!filter.relay.isEmpty()) {
        terms << QStringLiteral("relay = ?");
        w.values << relayValue(filter.relay);
    }
    w.sql = terms.join(QStringLiteral(" AND "));
    return w;
}

ArchiveTerms ArchiveTerms::counts(const EventFilter &filter)
{
    ArchiveTerms w;
    QStringList terms{QStringLiteral("1")};
    if (filter.from || filter.to) {
        terms << QStringLiteral("day <> ?");
        w.values << ArchiveDayCounts::kNoDay;
    }
    if (filter.from) {
        terms << QStringLiteral("day >= ?");
        w.values << filter.from->toJulianDay();
    }
    if (filter.to) {
        terms << QStringLiteral("day <= ?");
        w.values << filter.to->toJulianDay();
    }
    if (filter.kind) {
        terms << QStringLiteral("kind = ?");
        w.values << int(*filter.kind);
    }
    if (filter.source) {
        terms << QStringLiteral("source = ?");
        w.values << int(*filter.source);
    }
    if (!filter.relay.isEmpty()) {
        terms << QStringLiteral("relay = ?");
        w.values << relayValue(filter.relay);
    }
    w.sql = terms.join(QStringLiteral(" AND "));
    return w;
}

void ArchiveTerms::bind(QSqlQuery &query) const
{
    for (const QVariant &v : values)
        query.addBindValue(v);
}
