#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A table as a spreadsheet workbook (".xlsx", one sheet): every value is a
// text cell, so a spreadsheet program neither runs a value as a formula
// ("=1+1", "@SUM(A1)", "-2+3") nor drops the leading zeros of a gate code
// or a phone number ("0042", "0171..."). The columns are formatted as text
// too, so what is typed into them later stays text; they are as wide as
// their longest value (within reason).
namespace WorkbookFile {

// Whether a chosen file name asks for a workbook: it ends in ".xlsx", in
// any case.
bool isWorkbookName(const QString &fileName);

// Writes rows of 8-bit (Latin-1) values, first row first, to one sheet of
// that name; an empty value leaves its cell empty. The file is replaced
// atomically: a save that fails leaves an old file whole. *error is
// "Cannot create file <name>" on failure, with the reason on a second line
// when the workbook itself could not be made.
bool write(const QString &fileName, const QString &sheetName, const QList<QList<QByteArray>> &rows,
           QString *error);

} // namespace WorkbookFile
