#include "archive/ArchiveSelection.h"

#include "archive/ArchiveDayCounts.h"
#include "archive/ArchiveTerms.h"
#include "archive/EventArchive.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {
constexpr int kSlice = 2000;

bool failed(const QSqlQuery &q, QString *error)
{
    if (error)
        *error = q.lastError().text();
    return false;
}
} // namespace

ArchiveSelection::ArchiveSelection(EventArchive &archive)
    : archive_(archive)
{
}

bool ArchiveSelection::select(const EventFilter &filter, QString *error)
{
    filter_ = filter;
    if (!archive_.isOpen()) {
        figures_ = ArchiveFigures();
        groups_.clear();
        if (error)
            *error = QStringLiteral("The event archive is not open.");
        return false;
    }
    // The figures, the seq limit and the groups are read in one snapshot:
    // a download recorded meanwhile by another process is not half in it.
    QSqlQuery begin(archive_.database());
    const bool snapshot = begin.exec(QStringLiteral("BEGIN"));
    const bool ok = selectInSnapshot(error);
    if (snapshot)
        QSqlQuery(archive_.database()).exec(QStringLiteral("COMMIT"));
    if (!ok) {
        figures_ = ArchiveFigures();
        groups_.clear();
    }
    return ok;
}

bool ArchiveSelection::selectInSnapshot(QString *error)
{
    figures_ = ArchiveFigures();
    groups_.clear();
    partyIds_.clear();
    QSqlQuery last(archive_.database());
    if (!last.exec(QStringLiteral("SELECT coalesce(max(seq), 0) FROM events")) || !last.next())
        return failed(last, error);
    lastSeq_ = last.value(0).toLongLong();
    last.finish();
    if (byParties()) {
        ArchiveParties &parties = archive_.parties();
        for (qint64 id : parties.matching(filter_.text)) {
            const ArchiveParties::Party *p = parties.find(id);
            if (!filter_.kind || (p && EventKinds::ofRoom(p->room) == *filter_.kind))
                partyIds_ << id;
        }
    }
    return computeFigures(error) && computeGroups(error);
}

bool ArchiveSelection::sortBy(ArchiveSort sort, QString *error)
{
    sort_ = sort;
    if (!archive_.isOpen())
        return true; // nothing selected
    // The groups must add up to the count taken at select(): read in one
    // snapshot, where the day counts can be seen to be no newer.
    QSqlQuery begin(archive_.database());
    const bool snapshot = begin.exec(QStringLiteral("BEGIN"));
    const bool ok = computeGroups(error);
    if (snapshot)
        QSqlQuery(archive_.database()).exec(QStringLiteral("COMMIT"));
    if (!ok) {
        groups_.clear();
        figures_ = ArchiveFigures();
    }
    return ok;
}

bool ArchiveSelection::dayCountsCurrent()
{
    QSqlQuery q(archive_.database());
    return q.exec(QStringLiteral("SELECT coalesce(max(seq), 0) FROM events")) && q.next()
           && q.value(0).toLongLong() == lastSeq_;
}

bool ArchiveSelection::computeFigures(QString *error)
{
    figures_ = ArchiveFigures();
    const bool ok = byParties() ? figures_.readEvents(archive_.database(), eventsWhere(), error)
                                : figures_.readDayCounts(archive_.database(), ArchiveTerms::counts(filter_), error);
    figures_.spanDays(filter_.from, filter_.to);
    return ok;
}

ArchiveTerms ArchiveSelection::eventsWhere() const
{
    return ArchiveTerms::events(filter_, partyIds_, lastSeq_);
}

QString ArchiveSelection::groupColumn() const
{
    switch (sort_.column) {
    case ArchiveColumn::Room:
    case ArchiveColumn::Client: return QStringLiteral("party");
    case ArchiveColumn::Relay: return QStringLiteral("relay");
    case ArchiveColumn::Source: return QStringLiteral("source");
    case ArchiveColumn::Downloaded: return QStringLiteral("download");
    case ArchiveColumn::Date:
    case ArchiveColumn::Time: break;
    }
    return {};
}

// Reads groups as rows of key, [day,] count.
bool ArchiveSelection::readGroups(const QString &sql, const QVariantList &values, bool withDay, bool noDayIsZero,
                                  QString *error)
{
    QSqlQuery q(archive_.database());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        return failed(q, error);
    while (q.next()) {
        Group g;
        g.key = q.value(0);
        if (withDay) {
            g.dated = noDayIsZero ? q.value(1).toLongLong() != ArchiveDayCounts::kNoDay : !q.value(1).isNull();
            g.day = q.value(1).toLongLong();
        }
        g.count = q.value(withDay ? 2 : 1).toLongLong();
        if (g.count > 0)
            groups_.append(g);
    }
    return true;
}

bool ArchiveSelection::computeGroups(QString *error)
{
    groups_.clear();
    downloadSeqs_.clear();
    if (figures_.total == 0)
        return true;
    const ArchiveTerms w = eventsWhere();
    switch (sort_.column) {
    case ArchiveColumn::Date:
    case ArchiveColumn::Time:
        if (figures_.undated > 0)
            groups_.append(Group{QVariant(), false, 0, figures_.undated, 0});
        for (auto it = figures_.byDay.constBegin(); it != figures_.byDay.constEnd(); ++it)
            groups_.append(Group{QVariant(), true, it.key(), it.value(), 0});
        break;
    case ArchiveColumn::Room:
    case ArchiveColumn::Client:
        // One group a room and client: their events are read in order from
        // the party index.
        if (!readGroups(QStringLiteral("SELECT party, count(*) FROM events WHERE %1 GROUP BY party").arg(w.sql),
                        w.values, false, false, error))
            return false;
        break;
    case ArchiveColumn::Relay:
    case ArchiveColumn::Source:
        // From the day counts, unless the filter has a text or events were
        // added since the selection was made.
        if (byParties() || !dayCountsCurrent()) {
            if (!readGroups(QStringLiteral("SELECT %1, day, count(*) FROM events WHERE %2 GROUP BY %1, day")
                                .arg(groupColumn(), w.sql),
                            w.values, true, false, error))
                return false;
        } else {
            const ArchiveTerms c = ArchiveTerms::counts(filter_);
            if (!readGroups(QStringLiteral("SELECT %1, day, %2 FROM day_counts WHERE %3 GROUP BY %1, day")
                                .arg(groupColumn(),
                                     QStringLiteral("sum(") + ArchiveDayCounts::countColumns().replace(u',', u'+')
                                         + u')',
                                     c.sql),
                            c.values, true, true, error))
                return false;
        }
        break;
    case ArchiveColumn::Downloaded:
        if (filter_.isEmpty()) {
            if (!readGroups(QStringLiteral("SELECT id, added FROM downloads WHERE added > 0 AND last_seq <= ?"),
                            {lastSeq_}, false, false, error))
                return false;
        } else if (!readGroups(QStringLiteral("SELECT download, count(*) FROM events WHERE %1 GROUP BY download")
                                   .arg(w.sql),
                               w.values, false, false, error)) {
            return false;
        }
        if (!loadDownloadSeqs(error))
            return false;
        break;
    }
    order(groups_);
    if (sort_.order == Qt::DescendingOrder)
        std::reverse(groups_.begin(), groups_.end());
    qint64 start = 0;
    for (Group &g : groups_) {
        g.start = start;
        start += g.count;
    }
    return true;
}

bool ArchiveSelection::loadDownloadSeqs(QString *error)
{
    QSqlQuery q(archive_.database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, first_seq, last_seq FROM downloads WHERE first_seq IS NOT NULL")))
        return failed(q, error);
    while (q.next())
        downloadSeqs_.insert(q.value(0).toLongLong(), {q.value(1).toLongLong(), q.value(2).toLongLong()});
    return true;
}

// Groups of one key sorted by the key's order, then by day (no day first).
void ArchiveSelection::order(QList<Group> &groups) const
{
    QHash<QByteArray, int> rank;
    auto rankOf = [&rank](const QVariant &key) { return rank.value(key.toByteArray(), 0); };
    switch (sort_.column) {
    case ArchiveColumn::Room:
    case ArchiveColumn::Client: {
        const QList<qint64> ordered = archive_.parties().ordered(sort_.column == ArchiveColumn::Client);
        for (int i = 0; i < ordered.size(); ++i)
            rank.insert(QByteArray::number(ordered.at(i)), i);
        break;
    }
    case ArchiveColumn::Source: {
        // By the source's name, as the grid shows it, ignoring case.
        QList<EventSource> sources{EventSource::Local, EventSource::Remote, EventSource::RfId, EventSource::Error};
        std::sort(sources.begin(), sources.end(), [](EventSource a, EventSource b) {
            return EventSources::name(a).compare(EventSources::name(b), Qt::CaseInsensitive) < 0;
        });
        for (int i = 0; i < sources.size(); ++i)
            rank.insert(QByteArray::number(int(sources.at(i))), i);
        break;
    }
    case ArchiveColumn::Relay: {
        QList<QByteArray> relays;
        for (const Group &g : groups)
            relays.append(g.key.toByteArray());
        std::sort(relays.begin(), relays.end());
        relays.erase(std::unique(relays.begin(), relays.end()), relays.end());
        for (int i = 0; i < relays.size(); ++i)
            rank.insert(relays.at(i), i);
        break;
    }
    case ArchiveColumn::Downloaded:
        std::sort(groups.begin(), groups.end(),
                  [](const Group &a, const Group &b) { return a.key.toLongLong() < b.key.toLongLong(); });
        return;
    case ArchiveColumn::Date:
    case ArchiveColumn::Time: return;
    }
    std::sort(groups.begin(), groups.end(), [&rankOf](const Group &a, const Group &b) {
        const int ra = rankOf(a.key);
        const int rb = rankOf(b.key);
        if (ra != rb)
            return ra < rb;
        if (a.dated != b.dated)
            return !a.dated;
        return a.day < b.day;
    });
}

bool ArchiveSelection::rows(qint64 first, int count, QList<ArchivedEvent> *out, QString *error)
{
    out->clear();
    if (first < 0 || count <= 0 || first >= figures_.total || groups_.isEmpty())
        return true;
    // The group holding row `first`.
    auto it = std::upper_bound(groups_.cbegin(), groups_.cend(), first,
                               [](qint64 row, const Group &g) { return row < g.start; });
    qsizetype g = (it - groups_.cbegin()) - 1;
    qint64 offset = first - groups_.at(g).start;
    const bool perDownload = sort_.column == ArchiveColumn::Downloaded;
    while (count > 0 && g < groups_.size()) {
        // Read on through the following groups of the same key in one go.
        qsizetype last = g;
        qint64 covered = groups_.at(g).count - offset;
        while (!perDownload && covered < count && last + 1 < groups_.size() && groups_.at(g).dated
               && groups_.at(last + 1).dated && groups_.at(last + 1).key == groups_.at(g).key) {
            ++last;
            covered += groups_.at(last).count;
        }
        const int want = int(qMin<qint64>(count, covered));
        const qsizetype before = out->size();
        if (!readRun(g, last, offset, want, out, error))
            return false;
        const qsizetype got = out->size() - before;
        if (got < want)
            break; // the store changed under the selection; show what there is
        count -= int(got);
        g = last + 1;
        offset = 0;
    }
    return true;
}

bool ArchiveSelection::readRun(qsizetype firstGroup, qsizetype lastGroup, qint64 offset, int count,
                               QList<ArchivedEvent> *out, QString *error)
{
    const Group &head = groups_.at(firstGroup);
    const ArchiveTerms w = eventsWhere();
    if (w.nothing)
        return true;
    const QString dir = sort_.order == Qt::DescendingOrder ? QStringLiteral(" DESC") : QString();
    QString sql = QStringLiteral("SELECT seq, download, party, kind, source, relay, day, secs, date, time, decoded, line"
                                 " FROM events WHERE %1").arg(w.sql);
    QVariantList values = w.values;
    QString orderBy = QStringLiteral("day%1, secs%1, seq%1").arg(dir);
    if (sort_.column == ArchiveColumn::Downloaded) {
        const auto seqs = downloadSeqs_.value(head.key.toLongLong(), {1, 0});
        sql += QStringLiteral(" AND seq BETWEEN ? AND ?");
        values << seqs.first << seqs.second;
        orderBy = QStringLiteral("seq%1").arg(dir);
    } else {
        if (head.key.isValid()) {
            sql += QStringLiteral(" AND %1 = ?").arg(groupColumn());
            values << head.key;
        }
        if (sort_.column == ArchiveColumn::Room || sort_.column == ArchiveColumn::Client) {
            // The whole of one room and client, by when.
        } else if (head.dated) {
            const qint64 a = groups_.at(firstGroup).day;
            const qint64 b = groups_.at(lastGroup).day;
            sql += QStringLiteral(" AND day BETWEEN ? AND ?");
            values << qMin(a, b) << qMax(a, b);
        } else {
            sql += QStringLiteral(" AND day IS NULL");
        }
    }
    sql += QStringLiteral(" ORDER BY %1 LIMIT ? OFFSET ?").arg(orderBy);
    values << count << offset;

    QSqlQuery q(archive_.database());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        return failed(q, error);
    ArchiveParties &parties = archive_.parties();
    while (q.next()) {
        ArchivedEvent e;
        e.seq = q.value(0).toLongLong();
        e.download = q.value(1).toLongLong();
        e.downloadedAt = archive_.downloadTime(e.download);
        if (const ArchiveParties::Party *p = parties.find(q.value(2).toLongLong())) {
            e.room = p->room;
            e.client = p->client;
        }
        e.kind = EventKind(q.value(3).toInt());
        e.source = EventSource(q.value(4).toInt());
        e.relay = q.value(5).toByteArray();
        if (!q.value(6).isNull())
            e.fullDate = QDate::fromJulianDay(q.value(6).toLongLong());
        if (!q.value(7).isNull())
            e.second = q.value(7).toInt();
        e.date = q.value(8).toByteArray();
        e.time = q.value(9).toByteArray();
        e.decoded = q.value(10).toInt() != 0;
        e.line = q.value(11).toByteArray();
        out->append(std::move(e));
    }
    return true;
}

bool ArchiveSelection::forEach(const std::function<bool(const ArchivedEvent &)> &visit, QString *error)
{
    QList<ArchivedEvent> slice;
    for (qint64 first = 0; first < count(); first += kSlice) {
        if (!rows(first, kSlice, &slice, error))
            return false;
        if (slice.isEmpty())
            break;
        for (const ArchivedEvent &e : slice)
            if (!visit(e))
                return true;
    }
    return true;
}
