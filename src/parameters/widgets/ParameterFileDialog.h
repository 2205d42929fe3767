#pragma once

#include <QFileDialog>
#include <QString>

// The open and save dialogs of the parameter page: filter
// "CorvalenParameters(*.sys)" and "All Files (*)", default suffix "Sys",
// proposed name "SysPara". The save dialog asks before overwriting.
namespace ParameterFileDialog {

// Sets a dialog up for opening (QFileDialog::AcceptOpen) or saving.
void prepare(QFileDialog &dialog, QFileDialog::AcceptMode mode);

// Shows the dialog modally; the chosen file, or an empty name when the user
// cancelled.
QString choose(QWidget *parent, QFileDialog::AcceptMode mode);

} // namespace ParameterFileDialog
