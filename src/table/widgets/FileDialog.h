#pragma once

#include <QFileDialog>
#include <QString>

// The open and save dialogs of the program's files. Each kind of file has a
// filter of its own beside "All Files (*)" (which on Linux also matches names
// without a dot), a default suffix and a proposed name. The save dialog asks
// before overwriting; Qt's dialogs have no read-only box to hide.
namespace FileDialog {

struct Kind
{
    QString filter;        // e.g. "Corvalen (*.csv)"
    QString defaultSuffix; // e.g. "csv"
    QString proposedName;  // e.g. "CorvalenPhList.csv"
    QString title = {};    // empty: "Open" or "Save As"
};

// Sets a dialog up for opening (QFileDialog::AcceptOpen) or saving.
void prepare(QFileDialog &dialog, QFileDialog::AcceptMode mode, const Kind &kind);

// Shows the dialog modally; the chosen file, or an empty name when the user
// cancelled.
QString choose(QWidget *parent, QFileDialog::AcceptMode mode, const Kind &kind);

} // namespace FileDialog
