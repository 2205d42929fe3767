#pragma once

#include "table/Table.h"

#include <QByteArray>

// What the "Event Details" box shows for the current row. The box only
// shows: nothing typed into it is read back.
struct EventDetails
{
    QByteArray E_Numb;   // "Event #": the row's place in the current order, from 1
    QByteArray E_Room;   // "Room Number"
    QByteArray E_Client; // "Client"
    QByteArray E_relay;  // "Relay"
    QByteArray E_source; // "Set by"
    QByteArray E_time;   // "Event time"
    QByteArray E_date;   // "Date"

    bool operator==(const EventDetails &) const = default;
};

// The details of the event table's current row, for the table's after-scroll
// handler; all empty while the table is closed or has no current row. After
// a re-sort E_Numb differs from the row's Event number.
EventDetails EventTableAfterScroll(const Table &EventTable);
