#include "archive/widgets/ArchiveChartFiles.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace ArchiveChartFiles {

namespace {
bool failed(const QString &fileName, QString *error)
{
    if (error)
        *error = QStringLiteral("Cannot create file %1").arg(fileName);
    return false;
}

ArchiveChart::Style printStyle(qreal pointSize)
{
    ArchiveChart::Style s;
    s.font.setPointSizeF(pointSize);
    return s;
}
} // namespace

bool savePng(const ArchiveFigures &figures, const QString &fileName, QSize size, QString *error)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        // Type that reads at the picture's width as 10 points read on A4.
        ArchiveChart::Style s = printStyle(10);
        s.font.setPixelSize(qMax(9, size.width() / 70));
        ArchiveChart::paint(p, QRectF(QPointF(0, 0), size), figures, s);
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return failed(fileName, error);
    return true;
}

bool saveSvg(const ArchiveFigures &figures, const QString &fileName, const QString &title, QSize size, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return failed(fileName, error);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        svg.setDescription(QStringLiteral("%1 and %2").arg(ArchiveChart::hourTitle(), ArchiveChart::dayTitle(1)));
        QPainter p(&svg);
        ArchiveChart::Style s = printStyle(10);
        s.font.setPixelSize(qMax(9, size.width() / 70));
        ArchiveChart::paint(p, QRectF(QPointF(0, 0), size), figures, s);
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        return failed(fileName, error);
    return true;
}

} // namespace ArchiveChartFiles
