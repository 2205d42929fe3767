#pragma once

#include "directory/PanelEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The panel's answer to the directory read "d01281152", slot by slot: a
// first line, one line a slot of the model (an empty slot too), and "OK".
//
// The download takes only the residents: slots with both a RoomNumber and a
// Name. A slot may hold data without one of them (an entry written so from a
// phone list); the download passes over it as an empty slot, but a backup
// keeps it, so that a restore puts it back.
struct DirectoryListing
{
    QList<PanelEntry> entries;  // slots with a RoomNumber and a Name, in slot order
    QList<PanelEntry> occupied; // every slot that holds anything, those included, in slot order
    int records = 0;            // record lines: lines between the first one and "OK" that are not empty

    // Slots that hold data the download does not take.
    int skipped() const { return int(occupied.size() - entries.size()); }
    // The slot addresses of those, in slot order.
    QList<QByteArray> skippedSlots() const;
    // What the download says when it passed over such slots: how many, and
    // which (the first ten).
    QString skippedText() const;

    // `complete`: the reply ended with its "OK" line. Without it, only the
    // lines that arrived whole (up to the last CR LF) count, and every one
    // after the first may be a record.
    static DirectoryListing read(const QByteArray &reply, bool complete);

    // Whether a slot holds anything at all: one of its six fields.
    static bool holdsData(const PanelEntry &slot);
    static bool isResident(const PanelEntry &slot) { return !slot.RoomNumber.isEmpty() && !slot.Name.isEmpty(); }
};
