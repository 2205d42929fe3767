#pragma once

#include "table/Report.h"

#include <QString>

class ArchiveSelection;

// The printed report of an archive selection: the title and site, the
// range and the filters, how many events, the chart, and the events in the
// selection's order (date, time, room, relay, source, client). The report
// reads the selection as it prints: keep the selection alive and unchanged
// until printing ends.
namespace EventReport {

// site: the site's name, or empty without sites.
Report build(ArchiveSelection &selection, const QString &site);

// build() written as a PDF file (ReportPrinter::writePdf).
bool writePdf(ArchiveSelection &selection, const QString &site, const QString &fileName, QString *error = nullptr);

} // namespace EventReport
