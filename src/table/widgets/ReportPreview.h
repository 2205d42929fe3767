#pragma once

#include "table/Report.h"

#include <QString>

class QWidget;

// A report to the printer, as the window offers it: the print preview
// (QPrintPreviewDialog), from which the user prints, or the report saved as
// a PDF file chosen in the save dialog. The report is painted by
// ReportPrinter either way, so the preview shows what the PDF holds.
namespace ReportPreview {

// Shows the preview of the report, modally.
void preview(QWidget *parent, const Report &report);

// Asks for a PDF file name (proposedName in the save dialog) and writes the
// report there; a file that cannot be written is reported in a message box.
// The name written, or empty when cancelled or failed.
QString savePdf(QWidget *parent, const Report &report, const QString &proposedName);

} // namespace ReportPreview
