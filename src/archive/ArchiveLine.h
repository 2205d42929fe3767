#pragma once

#include "archive/EventFilter.h"

#include <QByteArray>
#include <QDate>
#include <optional>

// One event line of the panel as the archive keeps it: the fields the event
// grid decodes from it, the full date and the second of the day where the
// line holds a date and a time that can be, and whether the line decoded at
// all. A line whose date or time is not hexadecimal (the event grid stops
// there) keeps the room, relay, source and client that can be read, and its
// six date and time characters as they came.
struct ArchiveLine
{
    QByteArray room;   // RoomNumber
    QByteArray client; // Client
    QByteArray relay;  // RlyNo
    QByteArray date;   // Date as decoded ("12/11/23"), or the characters sent
    QByteArray time;   // Time as decoded ("14:45:05"), or the characters sent
    EventKind kind = EventKind::Error;
    EventSource source = EventSource::Error;
    std::optional<QDate> fullDate; // nullopt: the line holds no date that can be
    std::optional<int> second;     // second of the day; nullopt: no time that can be
    bool decoded = false;          // false: date or time not hexadecimal

    // reference: the date the two-digit years are read against
    // (ArchiveDates::referenceDate).
    static ArchiveLine decode(const QByteArray &line, const QDate &reference);
};
