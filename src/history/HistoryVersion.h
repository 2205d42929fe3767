#pragma once

#include "backup/BackupKind.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

// How a version came about: a complete read of the panel, the backup taken
// before an erasing write (a read as well), or a write (what was written).
enum class HistoryAction { Read, Backup, Write };

namespace HistoryActions {
// "read", "backup", "write": the words kept in the history and printed.
QString word(HistoryAction action);
std::optional<HistoryAction> fromWord(const QString &word);
} // namespace HistoryActions

// A kind inside a sentence: "phone list", "parameters", "RFID tags".
namespace HistoryKinds {
QString inText(BackupKind kind);
} // namespace HistoryKinds

// "3 added, 1 removed, 2 changed", naming only what is not 0 ("1 removed");
// empty when all are 0.
QString changeCounts(int added, int removed, int changed);

// Where a version was recorded from.
namespace HistoryVia {
inline const QString kWindow = QStringLiteral("window");
inline const QString kCli = QStringLiteral("corvalen-cli");
inline const QString kBackupJob = QStringLiteral("backup job");
// Backups read in from a backups folder (HistoryImport).
inline const QString kImported = QStringLiteral("imported backup");
} // namespace HistoryVia

// How a write ended: `written` of `total` entries or records taken, the
// ones the panel refused, and whether it stopped before the end (a lost
// link, too many refusals, an erase that failed: cutShort).
struct HistoryWriteResult
{
    int written = 0;
    int total = 0;
    int refused = 0;
    bool cutShort = false;
    QStringList refusedItems; // what was refused: "Adams Helen (101)", "record 0003"

    bool finished() const { return !cutShort && refused == 0 && written >= total; }
    // "written", "written 102 of 104, 2 refused", "cut short after 40 of 104".
    QString text() const;
    // {"status": "written" | "refused" | "cut short", "written", "total",
    //  "refused", "refusedItems"}
    QJsonObject toJson() const;
};

// One version in a history, as listed.
struct HistoryVersion
{
    qint64 id = 0;                     // stable, never reused
    BackupKind kind = BackupKind::Directory;
    HistoryAction action = HistoryAction::Read;
    QDateTime time;                    // UTC
    QDateTime lastSeen;                // UTC: the last read that found the same content
    int seen = 1;                      // how many reads found it (the first included)
    QString who;                       // user@host
    QString via;                       // HistoryVia
    QString model;                     // BackupName::modelToken: "Xarn1000"
    int entries = 0;                   // residents, parameter records or tags
    qint64 previous = 0;               // the version before of the same kind; 0 for the first
    int added = 0;                     // since `previous` (the first version: every entry added)
    int removed = 0;
    int changed = 0;
    std::optional<HistoryWriteResult> result; // writes only
    QString note;                      // free text (an imported backup's file name)

    bool isFirst() const { return previous == 0; }
    // "3 added, 1 removed, 2 changed" (changeCounts), "no changes", "first
    // version".
    QString changeText() const;
    // "42 residents", "10 records", "16 tags".
    QString entriesText() const;
    // id, time (ISO 8601 UTC), kind, action, who, via, model, entries,
    // added, removed, changed, previous (null for the first), lastSeen, seen,
    // and for writes result (HistoryWriteResult::toJson).
    QJsonObject toJson() const;
};
