#pragma once

#include "events/ClockFields.h"
#include "table/Table.h"

#include <QObject>

// The downloaded event log as the event page and the file commands share it:
// the event table (closed until the first download, redefined by every
// download), the clock fields, and EventsLoaded, which the first completed
// download sets for good (it offers Save As on the event page).
class EventLog : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    Table EventTable;
    ClockFields clock;

    bool EventsLoaded() const { return loaded_; }
    // A download completed: sets EventsLoaded and announces it.
    void markLoaded();

    // A download filled the table afresh (completed, or stopped at a line
    // it could not read): the grid fits its columns to the new rows.
    void announceRowsLoaded() { emit rowsLoaded(); }

    // What went wrong with the last download, for the event page to say;
    // empty after a download that completed.
    QString downloadProblem() const { return problem_; }
    void setDownloadProblem(const QString &text);

signals:
    // After every completed download: enable Save As.
    void downloadCompleted();
    void rowsLoaded();
    void downloadProblemChanged(const QString &text);

private:
    bool loaded_ = false;
    QString problem_;
};
