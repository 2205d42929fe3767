#pragma once

#include "PanelEvent.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

// The panel's memory as kept in a file between runs: which model it was, the
// records, the event log and where its clock stood against the computer's.
struct MemoryImage
{
    QString model;        // "100" ... "1000", or empty for an unrecognised identity
    QByteArray identity;
    std::optional<QDateTime> panelClock; // the panel's clock when saved
    std::optional<QDateTime> hostClock;  // the computer's local time when saved
    QMap<int, QByteArray> records;
    QList<PanelEvent> events;
};
