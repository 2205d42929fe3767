#pragma once

#include "history/HistoryVersion.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

class HistoryStore;

// The audit list: the writes only, newest first, with who, when, through
// what, what changed and how each ended; and its export as a spreadsheet
// list (".csv": UTF-8 after a byte-order mark, values quoted where needed,
// the separator a spreadsheet of the user's locale expects). A value that a
// spreadsheet would take for a formula (beginning with "=", "+", "-", "@",
// a tab or a CR) gets an apostrophe in front, so that opening the list never
// runs anything a resident's name smuggled in.
namespace HistoryAudit {

// "Time", "Who", "Via", "Kind", "Model", "Entries", "Added", "Removed",
// "Changed", "Result", "Changes".
QStringList headers();

// One row; `changes` is what the write changed, entry by entry.
QStringList row(const HistoryVersion &write, const QString &changes);

// What the write changed against the version before it (HistoryDiff text);
// "first version" for the first, or why it cannot be told.
QString changesOf(HistoryStore &store, const HistoryVersion &write);

// The value with an apostrophe in front where a spreadsheet would take it
// for a formula.
QString safeCell(const QString &value);

// The whole list of these writes as a spreadsheet file's bytes.
QByteArray csv(HistoryStore &store, const QList<HistoryVersion> &writes, const QLocale &locale = QLocale());

// Writes the store's audit list to a file, atomically. False with "Cannot
// create file <name>" (or why) otherwise.
bool exportCsv(HistoryStore &store, const QString &fileName, QString *why, const QLocale &locale = QLocale());

} // namespace HistoryAudit
