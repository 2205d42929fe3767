#pragma once

#include "archive/EventFilter.h"

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

// A filter as SQL terms with their values: over the events table, or over
// the day counts.
struct ArchiveTerms
{
    QString sql;          // the terms joined with AND, for after WHERE
    QVariantList values;  // for the "?" in sql, in order
    bool nothing = false; // no event can match (no room or client holds the text)

    // parties: the rooms and clients the filter's text (and kind) select,
    // when it has a text; lastSeq: the last event the selection holds.
    static ArchiveTerms events(const EventFilter &filter, const QList<qint64> &parties, qint64 lastSeq);
    // The day counts have no text and no seq: for a filter without a text.
    static ArchiveTerms counts(const EventFilter &filter);

    void bind(QSqlQuery &query) const;
};
