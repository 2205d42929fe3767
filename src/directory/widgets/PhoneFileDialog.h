#pragma once

#include <QFileDialog>
#include <QString>

// The open and save dialogs of the phone list: filter "Corvalen (*.csv)"
// and "All Files (*)", default suffix "csv", proposed name
// "CorvalenPhList.csv". The save dialog asks before overwriting; Qt's
// dialogs have no read-only box to hide.
namespace PhoneFileDialog {

// Sets a dialog up for opening (QFileDialog::AcceptOpen) or saving.
void prepare(QFileDialog &dialog, QFileDialog::AcceptMode mode);

// Shows the dialog modally; the chosen file, or an empty name when the user
// cancelled.
QString choose(QWidget *parent, QFileDialog::AcceptMode mode);

} // namespace PhoneFileDialog
