#pragma once

#include <QFileDialog>
#include <QString>

// The save dialog of "Export for spreadsheet...": titled like the command,
// the filter "Spreadsheet (*.csv)" or all files, the suffix "csv", a
// proposed name of the page's choosing, and a question before an existing
// file is replaced.
namespace SpreadsheetDialog {

void prepare(QFileDialog &dialog, const QString &proposedName);

// Runs the dialog; the chosen name, or the empty text when cancelled.
QString choose(QWidget *parent, const QString &proposedName);

} // namespace SpreadsheetDialog
