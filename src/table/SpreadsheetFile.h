#pragma once

#include "table/Table.h"
#include "table/TableFileForm.h"
#include "table/TableRead.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

// A table as spreadsheet programs write and read it: UTF-8 after a
// byte-order mark, values quoted where needed (RFC 4180), CR LF lines.
// Opening such a file gives the same table back (TableFile::read); an entry
// whose values are all empty is left out, as spreadsheets leave empty rows
// behind.
//
// A spreadsheet program runs a value that begins with "=", "+", "-" or "@"
// as a formula (a Name of "=1+1" shows 2), and a TAB, CR or LF in front
// hides what follows. Such a value is written with an apostrophe in front,
// which makes it text there; opening the file takes exactly one apostrophe
// off again. A value that already begins with apostrophes before such a
// character gets one more, so that every value comes back as it was.
namespace SpreadsheetFile {

inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// The separator a spreadsheet program of this locale expects: ";" where
// the decimal point is a comma, "," elsewhere.
char separatorFor(const QLocale &locale);

// The value with the apostrophe in front when a spreadsheet would run it,
// and back.
QByteArray guardFormula(const QByteArray &value);
QByteArray unguardFormula(const QByteArray &value);

// One line of 8-bit (Latin-1) values in UTF-8, guarded, quoted where needed.
QByteArray line(const QList<QByteArray> &values, char separator);

// The header of field names, then every stored entry: the rows of an export.
QList<QList<QByteArray>> tableRows(const Table &table);

// The header of field names and every stored entry, without byte-order mark.
QByteArray tableLines(const Table &table, char separator);

// The whole file: byte-order mark, then tableLines().
QByteArray format(const Table &table, char separator);

// Writes rows for a spreadsheet program, in the form the name asks for: a
// workbook for a name ending in ".xlsx" (WorkbookFile, one sheet of that
// name), else this comma-separated form with the separator given. The file
// is replaced atomically; *error is "Cannot create file <name>" on failure.
bool save(const QString &fileName, const QList<QList<QByteArray>> &rows, const QString &sheetName,
          char separator, QString *error);

// Reads a file in the spreadsheet form: the first line that is not blank
// names the columns (matched to fields ignoring case and surrounding
// blanks); a guarded value loses its apostrophe; UTF-8 becomes Latin-1
// ("?" for what Latin-1 lacks); values are cut to their width. Every such
// change but the apostrophe is listed.
TableRead parse(QByteArrayView bytes, const QList<Table::Field> &fields, const TableFileForm &form);

} // namespace SpreadsheetFile
