// The archive's chart: round axis steps, days put together when they do not
// fit, bars where the counts are, and labels that say which dates they are.
#include "archive/ArchiveChart.h"
#include "archive/widgets/ArchiveChartFiles.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ArchiveChart, AxisStepsAreRoundAndDaysShareBarsWhenNarrow)
{
    using ArchiveChart::niceStep;
    EXPECT_EQ(niceStep(0, 4), 1);
    EXPECT_EQ(niceStep(3, 4), 1);
    EXPECT_EQ(niceStep(10, 4), 5);
    EXPECT_EQ(niceStep(17, 4), 5);
    EXPECT_EQ(niceStep(1000, 4), 500);
    EXPECT_EQ(niceStep(1001, 4), 500);
    EXPECT_EQ(niceStep(52000, 4), 20000);

    using ArchiveChart::daysPerBar;
    EXPECT_EQ(daysPerBar(30, 600, 4), 1);
    EXPECT_EQ(daysPerBar(150, 600, 4), 1);
    EXPECT_EQ(daysPerBar(151, 600, 4), 2);
    EXPECT_EQ(daysPerBar(1163, 400, 3), 9);
    EXPECT_EQ(daysPerBar(0, 400, 3), 1);
    EXPECT_EQ(ArchiveChart::dayTitle(1), QStringLiteral("Events per day"));
    EXPECT_EQ(ArchiveChart::dayTitle(9), QStringLiteral("Events per 9 days"));
}

TEST(ArchiveChart, BarsStandWhereTheCountsAre)
{
    ArchiveFigures f;
    f.perHour[5] = 40;
    f.perHour[20] = 10;
    f.firstDay = QDate(2026, 3, 1);
    f.perDay = {0, 50, 0};
    QImage image(960, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    ArchiveChart::Style style;
    {
        QPainter p(&image);
        ArchiveChart::paint(p, QRectF(0, 0, 960, 600), f, style);
    }
    // Columns of the hour chart's bar colour, and of the day chart's.
    auto columnsOf = [&](const QColor &colour, int top, int bottom) {
        QList<int> xs;
        for (int x = 0; x < image.width(); ++x)
            for (int y = top; y < bottom; ++y)
                if (image.pixelColor(x, y) == colour) {
                    xs << x;
                    break;
                }
        return xs;
    };
    const QList<int> hours = columnsOf(style.hourBars, 0, 300);
    ASSERT_FALSE(hours.isEmpty());
    // Two bars: the one at 05:00 left of the one at 20:00, in the left and
    // right parts of the chart.
    const int split = [&] {
        for (int i = 1; i < hours.size(); ++i)
            if (hours.at(i) - hours.at(i - 1) > 1)
                return i;
        return -1;
    }();
    ASSERT_GT(split, 0);
    EXPECT_LT(hours.last() - hours.first(), image.width());
    EXPECT_LT(hours.at(split - 1), image.width() / 3);
    EXPECT_GT(hours.at(split), image.width() * 2 / 3);
    // One day bar, in the middle third.
    const QList<int> days = columnsOf(style.dayBars, 300, 600);
    ASSERT_FALSE(days.isEmpty());
    EXPECT_GT(days.first(), image.width() / 3);
    EXPECT_LT(days.last(), image.width() * 2 / 3);
}

TEST(ArchiveChart, DayLabelsNameTheYearsOfALongSpan)
{
    ArchiveFigures f;
    f.firstDay = QDate(2020, 1, 1);
    f.perDay = QList<qint64>(1163, 5);
    f.perHour.fill(100);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chart.svg"));
    ASSERT_TRUE(ArchiveChartFiles::saveSvg(f, file, QStringLiteral("Years")));
    QFile svg(file);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    for (const char *year : {">2021<", ">2022<", ">2023<"})
        EXPECT_TRUE(drawing.contains(year)) << year;
    EXPECT_TRUE(drawing.contains("Events per "));
    EXPECT_TRUE(drawing.contains("2020-01-01 to 2023-03-08"));
    svg.close();

    // A fortnight: a label a day where it fits, by day and month.
    f.perDay = QList<qint64>(14, 5);
    ASSERT_TRUE(ArchiveChartFiles::saveSvg(f, file, QStringLiteral("Days")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray fortnight = svg.readAll();
    EXPECT_TRUE(fortnight.contains(">1 Jan<"));
    EXPECT_TRUE(fortnight.contains(">14 Jan<"));
}
