#pragma once

#include "backup/BackupKind.h"
#include "directory/DirectoryComparison.h"
#include "parameters/ParameterComparison.h"
#include "rfid/TagComparison.h"
#include "history/HistoryContent.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

class HistoryStore;

// Two contents of one kind compared entry by entry, with the comparisons the
// backups use:
//
//  - directory: residents added, removed and changed, each with name and
//    room, changes field by field: DirectoryComparison's outcome (paired by
//    identical entry, then by Name, then by RoomNumber; a resident who only
//    moved slot is unchanged), found in time proportional to the size;
//  - parameters: the fields of records 0001-0010 from what to what, record
//    0001 value by value (SystemParameterChanges);
//  - tags: (room, code) pairs added and removed.
//
// "Before" is the older side (or the history's), "after" the newer (or the
// page's, or the panel's now).
struct HistoryDiff
{
    BackupKind kind = BackupKind::Directory;
    DirectoryComparison directory;
    QList<ParameterComparison::FieldChange> fields;
    TagComparison::Changes tags;

    // None, with the reason, when either side is not a content of that kind.
    static std::optional<HistoryDiff> compare(BackupKind kind, const QByteArray &before, const QByteArray &after,
                                              QString *why);
    // Two parsed contents of one kind.
    static HistoryDiff compare(const HistoryContent::Parsed &before, const HistoryContent::Parsed &after);
    // Two versions, of one store or of two (two sites, two gates); they
    // must be of the same kind.
    static std::optional<HistoryDiff> between(HistoryStore &before, qint64 beforeId, HistoryStore &after,
                                              qint64 afterId, QString *why);
    // A version against what a page holds now (bytes in the version's form,
    // HistoryContent).
    static std::optional<HistoryDiff> withContent(HistoryStore &store, qint64 id, const QByteArray &now,
                                                  QString *why);

    // One side of corvalen-cli's `diff A B`: a version id of the store, or
    // a file (a phone list, a ".records" or an ".rfid" file). ("panel", what
    // the panel holds now, is the caller's: it reads the panel and takes
    // HistoryContent::parse of what it read.)
    static std::optional<HistoryContent::Parsed> side(HistoryStore &store, const QString &versionOrFile,
                                                      QString *why);
    // Two sides, refused with the reason when they are of different kinds.
    static std::optional<HistoryDiff> compareSides(const HistoryContent::Parsed &before,
                                                   const HistoryContent::Parsed &after, QString *why);

    int added() const;
    int removed() const;
    // Residents changed, parameter fields (values of record 0001) changed;
    // 0 for tags.
    int changed() const;
    bool isEmpty() const { return added() == 0 && removed() == 0 && changed() == 0; }

    // "no differences", or "3 added, 1 removed, 2 changed" (only what is
    // not 0: "1 removed").
    QString summary() const;
    // The summary and one line per entry ("+ Adams Helen (101)",
    // "- ...", "* Baker Tom (102): PHnumber 0211 -> 0217", "Gate code 1:
    // "1234" -> "4321"", "+ 0A1B2C3D4E (room 101)"), lines ended by "\n".
    QString text() const;
    // {"kind", "identical", "added", "removed", "changed" (the counts), and
    //  the entries: directory "residentsAdded", "residentsRemoved" (objects
    //  with name, room, phone, code1, code2, spare, slot) and
    //  "residentsChanged" (name, room, before, after, fields [{field, from,
    //  to}]); parameters "fields" [{field, from, to}]; tags "tagsAdded",
    //  "tagsRemoved" [{room, code}]}.
    QJsonObject toJson() const;
};
