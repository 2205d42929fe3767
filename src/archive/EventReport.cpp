#include "archive/EventReport.h"

#include "archive/ArchiveChart.h"
#include "archive/ArchiveSelection.h"

#include <QLocale>

namespace EventReport {

Report build(ArchiveSelection &selection, const QString &site)
{
    Report r;
    r.title = site.isEmpty() ? QStringLiteral("Event archive") : QStringLiteral("Events of %1").arg(site);
    if (!site.isEmpty())
        r.meta << QStringLiteral("Site: %1").arg(site);
    r.meta << selection.filter().describe();
    const ArchiveFigures &figures = selection.figures();
    QString count = QStringLiteral("%1 events").arg(QLocale().toString(figures.total));
    if (figures.total == 1)
        count = QStringLiteral("1 event");
    if (figures.undated > 0)
        count += QStringLiteral(", %1 of them without a date").arg(QLocale().toString(figures.undated));
    r.meta << count;

    if (figures.total > 0) {
        r.picture = [figures](QPainter &p, const QRectF &rect) {
            ArchiveChart::Style style;
            style.font = p.font();
            style.font.setPointSizeF(7);
            style.fill = false;
            ArchiveChart::paint(p, rect, figures, style);
        };
        r.pictureHeightMm = 85;
    }

    r.columns = {QStringLiteral("Date"),   QStringLiteral("Time"),   QStringLiteral("Room"),
                 QStringLiteral("Relay"),  QStringLiteral("Source"), QStringLiteral("Client")};
    r.rowCount = figures.total;
    r.noRowsText = QStringLiteral("No event matches.");
    r.rows = [&selection](qint64 first, int count) {
        QList<QStringList> out;
        QList<ArchivedEvent> events;
        if (!selection.rows(first, count, &events))
            return out;
        for (const ArchivedEvent &e : events)
            out << QStringList{e.dateText(),
                               e.timeText(),
                               QString::fromLatin1(e.room),
                               QString::fromLatin1(e.relay),
                               EventSources::name(e.source),
                               QString::fromLatin1(e.clientText())};
        return out;
    };
    return r;
}

bool writePdf(ArchiveSelection &selection, const QString &site, const QString &fileName, QString *error)
{
    return ReportPrinter::writePdf(build(selection, site), fileName, error);
}

} // namespace EventReport
