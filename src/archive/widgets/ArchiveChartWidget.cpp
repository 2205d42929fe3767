#include "archive/widgets/ArchiveChartWidget.h"

#include <QPainter>

ArchiveChartWidget::ArchiveChartWidget(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("archiveChart"));
    setAccessibleName(QStringLiteral("Events chart"));
    setAccessibleDescription(QStringLiteral("Bars of the selected events per hour of the day and per day; "
                                            "the same figures are in the table Chart figures"));
}

void ArchiveChartWidget::setFigures(const ArchiveFigures &figures)
{
    figures_ = figures;
    update();
}

ArchiveChart::Style ArchiveChartWidget::style() const
{
    ArchiveChart::Style s;
    s.background = palette().color(QPalette::Base);
    s.text = palette().color(QPalette::Text);
    s.grid = palette().color(QPalette::Mid);
    s.font = font();
    return s;
}

void ArchiveChartWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    ArchiveChart::paint(p, rect(), figures_, style());
}
