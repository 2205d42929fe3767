#pragma once

#include <QFileDialog>
#include <QString>

// The save dialog of "Export for spreadsheet...": titled like the command,
// the filters "Spreadsheet (*.csv)", "Workbook (*.xlsx)" and all files, a
// proposed name of the page's choosing, and a question before an existing
// file is replaced. The chosen name's ending decides the form written
// (SpreadsheetFile::save); choosing a filter makes its ending the one a
// name typed without an ending gets, and the one a typed name is given.
namespace SpreadsheetDialog {

inline const QString kCsvFilter = QStringLiteral("Spreadsheet (*.csv)");
inline const QString kWorkbookFilter = QStringLiteral("Workbook (*.xlsx)");

void prepare(QFileDialog &dialog, const QString &proposedName);

// Runs the dialog; the chosen name, or the empty text when cancelled.
QString choose(QWidget *parent, const QString &proposedName);

} // namespace SpreadsheetDialog
