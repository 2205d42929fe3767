#pragma once

#include "archive/ArchiveFigures.h"
#include "archive/ArchiveTerms.h"
#include "archive/ArchivedEvent.h"
#include "archive/EventFilter.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <functional>

class EventArchive;

// The columns of the archive's grid, and what a selection can be sorted by.
// Date and Time both sort by when the events happened.
enum class ArchiveColumn { Date, Time, Room, Relay, Source, Client, Downloaded };
inline constexpr int ArchiveColumnCount = int(ArchiveColumn::Downloaded) + 1;

struct ArchiveSort
{
    ArchiveColumn column = ArchiveColumn::Date;
    Qt::SortOrder order = Qt::AscendingOrder;
};

// The events of an archive that a filter selects, in a sort order: their
// count and the chart's figures at once, and their rows a slice at a time,
// so that a million events never need to be in memory.
//
// Every order is a list of groups of known size: the days (sorted by when),
// a relay or source and a day, a room and client, or a download. A slice of
// rows is read group by group through an index, so reading rows far down
// costs about what reading the first rows costs. Within a group events go by
// when, then in the panel's order (a download: in the panel's order); events
// without a date come first in ascending order.
//
// The count and the chart's figures of a selection without a text come from
// the archive's day counts (a few rows a day); with a text, from the index of
// the rooms and clients it names.
class ArchiveSelection
{
public:
    explicit ArchiveSelection(EventArchive &archive);

    // Selects anew (the archive may have grown): the figures, the count and
    // the groups of the current order. False, with an empty selection, on a
    // database error.
    bool select(const EventFilter &filter, QString *error = nullptr);
    // The same filter in another order.
    bool sortBy(ArchiveSort sort, QString *error = nullptr);

    const EventFilter &filter() const { return filter_; }
    ArchiveSort sort() const { return sort_; }
    qint64 count() const { return figures_.total; }
    const ArchiveFigures &figures() const { return figures_; }

    // Up to `count` rows from row `first` (0-based) of the order. False on a
    // database error.
    bool rows(qint64 first, int count, QList<ArchivedEvent> *out, QString *error = nullptr);
    // Every row in order, a slice at a time; stops early when visit returns
    // false. False on a database error.
    bool forEach(const std::function<bool(const ArchivedEvent &)> &visit, QString *error = nullptr);

private:
    struct Group
    {
        QVariant key;     // room/client pair, relay, source or download; invalid when sorted by when
        bool dated = true;
        qint64 day = 0;   // Julian day when dated
        qint64 count = 0;
        qint64 start = 0; // row of the group's first event
    };
    bool byParties() const { return !filter_.text.trimmed().isEmpty(); }
    // The selection's terms over the events.
    ArchiveTerms eventsWhere() const;
    bool selectInSnapshot(QString *error);
    bool computeFigures(QString *error);
    bool computeGroups(QString *error);
    bool readGroups(const QString &sql, const QVariantList &values, bool withDay, bool noDayIsZero, QString *error);
    void order(QList<Group> &groups) const;
    bool readRun(qsizetype firstGroup, qsizetype lastGroup, qint64 offset, int count, QList<ArchivedEvent> *out,
                 QString *error);
    QString groupColumn() const;
    bool loadDownloadSeqs(QString *error);
    bool dayCountsCurrent();

    EventArchive &archive_;
    EventFilter filter_;
    ArchiveSort sort_;
    ArchiveFigures figures_;
    QList<Group> groups_;
    QList<qint64> partyIds_; // the pairs the text (and the kind) select
    qint64 lastSeq_ = 0;     // the selection holds the events up to here
    QHash<qint64, QPair<qint64, qint64>> downloadSeqs_; // download: its first and last event
};
