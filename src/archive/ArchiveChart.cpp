#include "archive/ArchiveChart.h"

#include <QFontMetricsF>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace ArchiveChart {

int daysPerBar(int days, qreal plotWidth, qreal minBarWidth)
{
    if (days <= 0 || plotWidth <= 0)
        return 1;
    const int fit = qMax(1, int(plotWidth / qMax<qreal>(minBarWidth, 0.1)));
    return qMax(1, (days + fit - 1) / fit);
}

qint64 niceStep(qint64 max, int ticks)
{
    if (max <= 0 || ticks <= 0)
        return 1;
    const double raw = double(max) / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw)
            return qMax<qint64>(1, qint64(std::llround(m * power)));
    return qMax<qint64>(1, qint64(std::llround(10 * power)));
}

QString hourTitle()
{
    return QStringLiteral("Events per hour of the day");
}

QString dayTitle(int perBar)
{
    return perBar <= 1 ? QStringLiteral("Events per day") : QStringLiteral("Events per %1 days").arg(perBar);
}

namespace {

struct Bars
{
    QList<qint64> values;
    QStringList labels; // one per bar; empty where none is drawn
};

// One chart: title, count axis, bars and their labels, in rect.
void paintBars(QPainter &p, const QRectF &rect, const QString &title, const Bars &bars, const QColor &color,
               const Style &style)
{
    const QFontMetricsF fm(p.font(), p.device());
    const qreal line = fm.height();
    p.setPen(style.text);
    QFont bold = p.font();
    bold.setBold(true);
    p.save();
    p.setFont(bold);
    p.drawText(QRectF(rect.left(), rect.top(), rect.width(), line), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.restore();

    qint64 max = 0;
    for (qint64 v : bars.values)
        max = qMax(max, v);
    const qint64 step = niceStep(max, 4);
    const qint64 top = max == 0 ? 1 : ((max + step - 1) / step) * step;
    const QLocale locale;
    const qreal axisWidth = fm.horizontalAdvance(locale.toString(top)) + line * 0.6;
    const QRectF plot(rect.left() + axisWidth, rect.top() + line * 1.5, rect.width() - axisWidth,
                      rect.height() - line * 3.0);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;

    // Count axis with its grid.
    for (qint64 v = 0; v <= top; v += step) {
        const qreal y = plot.bottom() - plot.height() * double(v) / double(top);
        p.setPen(QPen(style.grid, 0));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(style.text);
        p.drawText(QRectF(rect.left(), y - line / 2, axisWidth - line * 0.3, line), Qt::AlignRight | Qt::AlignVCenter,
                   locale.toString(v));
    }

    const int n = int(bars.values.size());
    if (n == 0) {
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("No events"));
        return;
    }
    const qreal slot = plot.width() / n;
    const qreal gap = slot > 4 ? slot * 0.18 : 0;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    for (int i = 0; i < n; ++i) {
        const qreal h = plot.height() * double(bars.values.at(i)) / double(top);
        if (h > 0)
            p.drawRect(QRectF(plot.left() + i * slot + gap / 2, plot.bottom() - h, qMax<qreal>(slot - gap, 0.5), h));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(style.text, 0));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());

    // Labels under the bars, leaving out those that would run into the one
    // before.
    qreal freeFrom = plot.left() - 1e9;
    for (int i = 0; i < n; ++i) {
        const QString label = bars.labels.value(i);
        if (label.isEmpty())
            continue;
        const qreal w = fm.horizontalAdvance(label);
        const qreal centre = plot.left() + (i + 0.5) * slot;
        qreal left = qBound(rect.left(), centre - w / 2, rect.right() - w);
        if (left < freeFrom)
            continue;
        p.drawLine(QPointF(centre, plot.bottom()), QPointF(centre, plot.bottom() + line * 0.25));
        p.drawText(QRectF(left, plot.bottom() + line * 0.3, w, line), Qt::AlignCenter, label);
        freeFrom = left + w + line * 0.8;
    }
}

Bars hourBars(const ArchiveFigures &f)
{
    Bars b;
    for (int h = 0; h < 24; ++h) {
        b.values << f.perHour[size_t(h)];
        b.labels << (h % 3 == 0 ? QStringLiteral("%1:00").arg(h, 2, 10, QLatin1Char('0')) : QString());
    }
    return b;
}

// The first day in [from, to] where a new week, month or year begins
// (whichever the span calls for), or an invalid date.
enum class Mark { Day, Week, Month, Year };

QDate markIn(const QDate &from, const QDate &to, Mark mark)
{
    for (QDate d = from; d <= to; d = d.addDays(1)) {
        switch (mark) {
        case Mark::Day: return d;
        case Mark::Week:
            if (d.dayOfWeek() == 1)
                return d;
            break;
        case Mark::Month:
            if (d.day() == 1)
                return d;
            break;
        case Mark::Year:
            if (d.day() == 1 && d.month() == 1)
                return d;
            break;
        }
    }
    return {};
}

Bars dayBars(const ArchiveFigures &f, int perBar)
{
    Bars b;
    const QLocale locale;
    const int days = int(f.perDay.size());
    const int bars = (days + perBar - 1) / perBar;
    // Labels where a day, week, month or year begins, as the span calls for;
    // the first bar always says where the chart starts.
    const Mark mark = bars <= 16 ? Mark::Day : days <= 120 ? Mark::Week : days <= 800 ? Mark::Month : Mark::Year;
    for (int i = 0; i < bars; ++i) {
        qint64 sum = 0;
        for (int d = i * perBar; d < qMin(days, (i + 1) * perBar); ++d)
            sum += f.perDay.at(d);
        b.values << sum;
        const QDate from = f.firstDay.addDays(qint64(i) * perBar);
        const QDate to = from.addDays(perBar - 1);
        const QDate at = i == 0 ? from : markIn(from, to, mark);
        QString label;
        if (at.isValid()) {
            switch (mark) {
            case Mark::Day:
            case Mark::Week: label = locale.toString(at, QStringLiteral("d MMM")); break;
            case Mark::Month:
                label = i == 0 || at.month() == 1 ? locale.toString(at, QStringLiteral("MMM yyyy"))
                                                  : locale.toString(at, QStringLiteral("MMM"));
                break;
            case Mark::Year: label = i == 0 ? locale.toString(at, QStringLiteral("MMM yyyy")) : QString::number(at.year()); break;
            }
        }
        b.labels << label;
    }
    return b;
}

} // namespace

void paint(QPainter &painter, const QRectF &rect, const ArchiveFigures &figures, const Style &style)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (style.fill)
        painter.fillRect(rect, style.background);
    painter.setFont(style.font);
    const qreal line = QFontMetricsF(style.font, painter.device()).height();
    const QRectF inner = rect.adjusted(line * 0.5, line * 0.4, -line * 0.5, -line * 0.2);
    const qreal half = inner.height() / 2;
    const QRectF top(inner.left(), inner.top(), inner.width(), half - line * 0.3);
    const QRectF bottom(inner.left(), inner.top() + half + line * 0.3, inner.width(), half - line * 0.3);

    paintBars(painter, top, hourTitle(), hourBars(figures), style.hourBars, style);

    const qreal axis = QFontMetricsF(style.font, painter.device()).horizontalAdvance(QStringLiteral("000000"));
    const int perBar = daysPerBar(int(figures.perDay.size()), bottom.width() - axis, line * 0.35);
    QString title = dayTitle(perBar);
    if (figures.firstDay.isValid())
        title += QStringLiteral(", %1 to %2")
                     .arg(figures.firstDay.toString(Qt::ISODate), figures.lastDay().toString(Qt::ISODate));
    if (figures.undated > 0)
        title += QStringLiteral(" (%1 without a date)").arg(figures.undated);
    paintBars(painter, bottom, title, dayBars(figures, perBar), style.dayBars, style);
    painter.restore();
}

} // namespace ArchiveChart
