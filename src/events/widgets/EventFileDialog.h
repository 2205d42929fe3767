#pragma once

#include <QFileDialog>
#include <QString>

// The save dialog of Save As on the event page: the filter
// "CorvalenEvents(*.Evt)" or all files, the default extension "Evt", the
// proposed name "Events", and a question before an existing file is
// replaced.
namespace EventFileDialog {

void prepare(QFileDialog &dialog);

// Runs the dialog; the chosen name, or the empty text when cancelled.
QString choose(QWidget *parent);

} // namespace EventFileDialog
