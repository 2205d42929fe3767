#pragma once

#include "directory/PanelEntry.h"

#include <QList>
#include <QString>

class Table;

// What writing a phone list over the panel's directory changes, resident by
// resident. Both sides are compared as the panel would hold them (each
// entry through PanelEntryText and back), and slots do not count: a
// resident who only moved to another slot is unchanged. Residents are
// paired in three rounds: identical entries; then the same Name (a changed
// number, room or code); then the same RoomNumber (a renamed resident).
// Whoever is left is added (only in the list) or removed (only on the panel).
struct DirectoryComparison
{
    struct Change
    {
        PanelEntry before; // as the panel holds it
        PanelEntry after;  // as it will be written
    };
    QList<PanelEntry> added;
    QList<PanelEntry> removed;
    QList<Change> changed;
    int unchanged = 0;

    static DirectoryComparison compare(const QList<PanelEntry> &panel, const QList<PanelEntry> &list);
    // The table's entries as PanelEntry values (slot from "Addr").
    static QList<PanelEntry> tableEntries(const Table &table);

    bool isEmpty() const { return added.isEmpty() && removed.isEmpty() && changed.isEmpty(); }
    // "no changes", or a summary line ("2 added, 1 removed, 3 changed")
    // followed by one line per resident: "+ Name (room)", "- Name (room)",
    // "* Name (room): field before -> after, ...".
    QString text() const;
};
