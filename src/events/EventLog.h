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

signals:
    // After every completed download: enable Save As, fit the grid's columns.
    void downloadCompleted();

private:
    bool loaded_ = false;
};
