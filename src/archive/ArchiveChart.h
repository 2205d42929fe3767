#pragma once

#include "archive/ArchiveFigures.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

// The archive's chart, painted with QPainter on any device (the view, a PNG,
// an SVG, a PDF page): the selected events per hour of the day (24 bars) over
// the events per day (a bar a day; a bar for several days when the days are
// more than the width takes, and the axis says how many), each with a count
// axis of round steps and labelled times and dates.
namespace ArchiveChart {

struct Style
{
    QColor background = Qt::white;
    QColor text = Qt::black;
    QColor grid = QColor(0xd0, 0xd0, 0xd0);
    QColor hourBars = QColor(0x2e, 0x5c, 0x8a);
    QColor dayBars = QColor(0x4e, 0x8a, 0x3e);
    QFont font;       // point size as it should read on the device
    bool fill = true; // paint the background
};

// Days put together in one bar so that no bar is narrower than minBarWidth.
int daysPerBar(int days, qreal plotWidth, qreal minBarWidth);

// A step of 1, 2 or 5 times a power of ten that divides 0..max into at most
// `ticks` parts (1 for max 0).
qint64 niceStep(qint64 max, int ticks);

// The titles of the two charts as painted ("Events per hour of the day",
// "Events per day" or "Events per 7 days").
QString hourTitle();
QString dayTitle(int daysPerBar);

void paint(QPainter &painter, const QRectF &rect, const ArchiveFigures &figures, const Style &style = Style());

} // namespace ArchiveChart
