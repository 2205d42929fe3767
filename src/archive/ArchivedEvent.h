#pragma once

#include "archive/EventFilter.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// One event as the archive holds it.
struct ArchivedEvent
{
    qint64 seq = 0;      // its place in the archive: later events have larger numbers
    qint64 download = 0; // the download that brought it
    QDateTime downloadedAt; // UTC
    QByteArray room;     // RoomNumber as decoded
    QByteArray client;   // Client as decoded (a name is filled with blanks to 16)
    QByteArray relay;    // RlyNo
    QByteArray date;     // Date as decoded ("12/11/23"), or as sent when not hexadecimal
    QByteArray time;     // Time as decoded, or as sent
    QByteArray line;     // the line as the panel sent it
    EventKind kind = EventKind::Error;
    EventSource source = EventSource::Error;
    std::optional<QDate> fullDate;
    std::optional<int> second; // of the day
    bool decoded = false;

    // The date as YYYY-MM-DD, or the date as decoded when it has none that
    // can be ("55/55/55").
    QString dateText() const;
    // hh:mm:ss.
    QString timeText() const;
    // The client without the blanks the panel fills it with.
    QByteArray clientText() const;
};
