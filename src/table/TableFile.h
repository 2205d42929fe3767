#pragma once

#include "table/Table.h"
#include "table/TableRead.h"

#include <QByteArray>
#include <QString>

// The comma-separated table format of the phone list and event files:
// CR LF lines of 8-bit text; a header line of field names; then one line per
// entry in the table's current order, values separated by "," and never
// quoted. "%" is written "%%", CR "%c", LF "%n", NUL "%0"; a "," inside a
// value is written "%m" so that it reads back whole (a file without commas in
// its values is unchanged by this). On reading, header columns are matched to
// fields by name ignoring case, unknown columns are ignored, missing ones stay
// empty, any run of CR, LF and NUL ends a line and empty lines are skipped.
namespace TableFile {

QByteArray escapeValue(const QByteArray &value);
QByteArray unescapeValue(const QByteArray &value);

// The header and every stored entry (an entry being added is not written).
QByteArray format(const Table &table);

// The entries of a file, each with one value per table field (in field
// order), unescaped and cut to the field widths.
QList<QList<QByteArray>> parse(const QByteArray &bytes, const QList<Table::Field> &fields);

// The entries of a file in either form (TableFileForm): this program's own
// by the rules above, exactly as parse(); a spreadsheet program's by
// SpreadsheetFile::parse(), with what could not be kept. A file that begins
// with a UTF-16 byte-order mark is read as the same text in UTF-8.
TableRead read(const QByteArray &bytes, const QList<Table::Field> &fields);

// Appends the file's entries to an open table.
void appendTo(Table &table, const QByteArray &bytes);

// Replaces a file atomically: the content goes to a temporary file beside it
// that is renamed over the old one, so a failed save leaves the old file
// whole. *error is "Cannot create file <name>" on failure.
bool saveFile(const QString &fileName, const QByteArray &content, QString *error);
// The largest table file that is read: far more than any directory takes
// (1,024 entries of about 80 bytes).
inline constexpr qint64 kMaxFileBytes = 1024 * 1024;

// Reads a whole file of at most maxBytes. *error is "Cannot open file
// <name>" on failure; a larger file is refused unread, with the reason on a
// second line (a file picked by mistake may be gigabytes long).
bool loadFile(const QString &fileName, QByteArray *content, QString *error, qint64 maxBytes = kMaxFileBytes);

} // namespace TableFile
