#pragma once

#include "archive/ArchiveChart.h"
#include "archive/ArchiveFigures.h"

#include <QWidget>

// The archive's chart on screen, in the window's colours and font. Its
// figures are also in the "Chart figures" table beside it, which is what
// assistive technology reads.
class ArchiveChartWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ArchiveChartWidget(QWidget *parent = nullptr);

    void setFigures(const ArchiveFigures &figures);
    const ArchiveFigures &figures() const { return figures_; }
    // The style the widget paints with.
    ArchiveChart::Style style() const;

    QSize sizeHint() const override { return {520, 360}; }
    QSize minimumSizeHint() const override { return {260, 200}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ArchiveFigures figures_;
};
