#pragma once

#include "events/EventLog.h"

#include <QByteArray>
#include <QString>

// The event file (".Evt"), written only: CR LF lines of 8-bit text.
//   1 "Corvalen time when saved was: " Stime, two blanks, Sdate
//   2 "Current time when Loaded was: " Ctime, two blanks, Cdate
//   3 on: the event table in the comma-separated table format of the phone
//     list file (header of field names, then the rows in the current order).
// The clock lines copy the clock fields as they stand, that is as read by
// the last download, not at saving.
namespace EventFile {

inline constexpr const char *DefaultName = "Events";
inline constexpr const char *DefaultExtension = "Evt";
// The save dialog's filter, in the "name|pattern" pairs of the file commands
// and as a Qt dialog takes it.
inline constexpr const char *Filter = "CorvalenEvents(*.Evt)|*.Evt|All Files (*.*)|*.*";
inline constexpr const char *DialogFilter = "CorvalenEvents (*.Evt);;All Files (*.*)";

// Appends lines 1 and 2 to the file's content.
void WriteEventFileHeader(QByteArray &content, const ClockFields &clock);

// The whole file: the two clock lines, then the table.
QByteArray format(const EventLog &log);

// The event log for spreadsheet programs (SpreadsheetFile's form: UTF-8
// after a byte-order mark, quotes where needed, CR LF): the two clock lines
// as rows of three cells (what, time, date), an empty row, then the table
// with its header, so that the table stands apart for sorting and filters.
QByteArray formatForSpreadsheet(const EventLog &log, char separator);
// Those rows as values, for either form of SpreadsheetFile::save().
QList<QList<QByteArray>> spreadsheetRows(const EventLog &log);

// Writes the file in one atomic replace: an existing file is either replaced
// whole or left as it was. *error is "Cannot create file <name>" on failure.
bool save(const QString &fileName, const EventLog &log, QString *error);
// The same for the spreadsheet rows: a workbook (sheet "Events") when the
// name ends in ".xlsx", else formatForSpreadsheet().
bool exportTo(const QString &fileName, const EventLog &log, char separator, QString *error);

} // namespace EventFile
