#pragma once

#include <QList>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;

// A printed report: a title, lines about what it shows (site, range,
// filters), an optional picture, and a table of rows over as many pages as
// it takes, its header repeated on every page and each page numbered. It is
// painted with QPainter on any paged device, so the same report goes to a PDF
// file (writePdf) and to a printer or its preview (QPrinter is such a
// device). Nothing here needs widgets: the command line prints on the
// offscreen platform.
//
// Rows are fetched a page at a time, so a report of many rows never holds
// them all. Texts are shown as given (convert 8-bit values with Latin-1).
struct Report
{
    QString title;
    QStringList meta; // one line each, under the title

    // Painted into a rect of the page's width and pictureHeightMm high, on
    // the first page.
    std::function<void(QPainter &, const QRectF &)> picture;
    qreal pictureHeightMm = 70;

    QStringList columns;
    qint64 rowCount = 0;
    // Rows first to first + count - 1 (fewer at the end), one text a column.
    std::function<QList<QStringList>(qint64 first, int count)> rows;
    QString noRowsText = QStringLiteral("Nothing to list.");
    // Columns whose texts are numbers or codes: aligned right.
    QList<int> rightAligned;
    qreal tableFontPt = 8.5;
    bool landscape = false;

    // Called after every page with its number and the number of pages;
    // returning false stops the printing (the output is then incomplete).
    std::function<bool(int page, int pages)> progress;
};

namespace ReportPrinter {

// Paints the report on the device, from its first page. False, with the
// reason, when the device cannot be painted on or progress stopped it.
bool print(const Report &report, QPagedPaintDevice &device, QString *error = nullptr);

// Writes the report as a PDF file (A4, or the device's page when printing),
// replacing the file atomically: a failure leaves an older file whole. False
// with "Cannot create file <name>" when it cannot be written.
bool writePdf(const Report &report, const QString &fileName, QString *error = nullptr);

} // namespace ReportPrinter
