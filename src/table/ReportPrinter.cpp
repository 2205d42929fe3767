#include "table/Report.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSampleRows = 200; // rows measured for the column widths
constexpr qreal kCellPaddingMm = 1.6;

class Layout
{
public:
    Layout(const Report &report, QPagedPaintDevice &device, QPainter &painter)
        : report_(report)
        , device_(device)
        , painter_(painter)
        , mm_(device.logicalDpiY() / 25.4)
        , width_(device.width())
        , height_(device.height())
    {
        base_ = painter.font();
        base_.setStyleHint(QFont::SansSerif);
        titleFont_ = font(14, true);
        metaFont_ = font(9, false);
        cellFont_ = font(report.tableFontPt, false);
        headFont_ = font(report.tableFontPt, true);
        footFont_ = font(7, false);
        rowHeight_ = std::ceil(QFontMetricsF(cellFont_, &device_).height() * 1.45);
        headHeight_ = std::ceil(QFontMetricsF(headFont_, &device_).height() * 1.6);
        footHeight_ = std::ceil(QFontMetricsF(footFont_, &device_).height() * 2.2);
    }

    bool run(QString *error)
    {
        measureColumns();
        const qreal top = headerBlockHeight();
        const qreal bodyFirst = height_ - footHeight_ - top - headHeight_;
        const qreal bodyNext = height_ - footHeight_ - headHeight_;
        const qint64 firstRows = qMax<qint64>(0, qint64(bodyFirst / rowHeight_));
        const qint64 nextRows = qMax<qint64>(1, qint64(bodyNext / rowHeight_));
        const qint64 rest = qMax<qint64>(0, report_.rowCount - firstRows);
        const qint64 pages64 = 1 + (rest + nextRows - 1) / nextRows;
        const int pages = int(qMin<qint64>(pages64, std::numeric_limits<int>::max()));

        qint64 next = 0;
        for (int page = 1; page <= pages; ++page) {
            if (page > 1 && !device_.newPage()) {
                if (error)
                    *error = QStringLiteral("The printer took no further page.");
                return false;
            }
            qreal y = 0;
            if (page == 1)
                y = paintHeaderBlock();
            y = paintTableHead(y);
            const int count = int(qMin<qint64>(page == 1 ? firstRows : nextRows, report_.rowCount - next));
            if (report_.rowCount == 0 && page == 1) {
                painter_.setFont(metaFont_);
                painter_.drawText(QRectF(0, y + mm_, width_, rowHeight_ * 2), Qt::AlignLeft | Qt::AlignTop,
                                  report_.noRowsText);
            } else if (count > 0) {
                const QList<QStringList> rows = report_.rows ? report_.rows(next, count) : QList<QStringList>();
                for (int i = 0; i < rows.size(); ++i)
                    y = paintRow(y, rows.at(i), (next + i) % 2 == 1);
                next += count;
            }
            paintFooter(page, pages);
            if (report_.progress && !report_.progress(page, pages)) {
                if (error)
                    *error = QStringLiteral("Printing was stopped.");
                return false;
            }
        }
        return true;
    }

private:
    QFont font(qreal points, bool bold) const
    {
        QFont f = base_;
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }

    qreal textWidth(const QFont &f, const QString &text) const
    {
        return QFontMetricsF(f, &device_).horizontalAdvance(text);
    }

    void measureColumns()
    {
        const int n = int(report_.columns.size());
        if (n == 0)
            return;
        const qreal pad = 2 * kCellPaddingMm * mm_;
        QList<qreal> want(n, 0);
        for (int c = 0; c < n; ++c)
            want[c] = textWidth(headFont_, report_.columns.at(c)) + pad;
        if (report_.rows && report_.rowCount > 0) {
            const QFontMetricsF fm(cellFont_, &device_);
            for (const QStringList &row : report_.rows(0, int(qMin<qint64>(kSampleRows, report_.rowCount))))
                for (int c = 0; c < n && c < row.size(); ++c)
                    want[c] = qMax(want[c], fm.horizontalAdvance(row.at(c)) + pad);
        }
        qreal total = 0;
        for (qreal w : want)
            total += w;
        widths_ = want;
        if (total <= width_) {
            // Spare room goes to the widest columns, in proportion.
            for (qreal &w : widths_)
                w += (width_ - total) * w / total;
        } else {
            // Too wide: the columns above an even share give up room, in
            // proportion to how far above it they are; texts are elided.
            const qreal share = width_ / n;
            qreal excess = 0;
            for (qreal w : want)
                excess += qMax<qreal>(0, w - share);
            const qreal cut = total - width_;
            for (int c = 0; c < n; ++c)
                if (want[c] > share)
                    widths_[c] = want[c] - cut * (want[c] - share) / excess;
        }
    }

    qreal headerBlockHeight() const
    {
        qreal h = QFontMetricsF(titleFont_, &device_).height() * 1.6;
        h += report_.meta.size() * QFontMetricsF(metaFont_, &device_).height() * 1.25;
        if (report_.picture)
            h += pictureHeight() + 3 * mm_;
        return h + 3 * mm_;
    }

    qreal pictureHeight() const { return qMin(report_.pictureHeightMm * mm_, height_ * 0.45); }

    qreal paintHeaderBlock()
    {
        qreal y = 0;
        painter_.setPen(Qt::black);
        painter_.setFont(titleFont_);
        const qreal titleH = QFontMetricsF(titleFont_, &device_).height();
        painter_.drawText(QRectF(0, y, width_, titleH), Qt::AlignLeft | Qt::AlignVCenter, report_.title);
        y += titleH * 1.6;
        painter_.setFont(metaFont_);
        const qreal metaH = QFontMetricsF(metaFont_, &device_).height();
        for (const QString &line : report_.meta) {
            painter_.drawText(QRectF(0, y, width_, metaH), Qt::AlignLeft | Qt::AlignVCenter,
                              QFontMetricsF(metaFont_, &device_).elidedText(line, Qt::ElideRight, width_));
            y += metaH * 1.25;
        }
        if (report_.picture) {
            y += 1.5 * mm_;
            painter_.save();
            report_.picture(painter_, QRectF(0, y, width_, pictureHeight()));
            painter_.restore();
            y += pictureHeight() + 1.5 * mm_;
        }
        return y + 3 * mm_;
    }

    qreal paintTableHead(qreal y)
    {
        painter_.save();
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(QColor(0xdd, 0xe3, 0xea));
        painter_.drawRect(QRectF(0, y, width_, headHeight_));
        painter_.setPen(Qt::black);
        painter_.setFont(headFont_);
        paintCells(y, headHeight_, report_.columns, headFont_);
        painter_.setPen(QPen(Qt::black, 0.25 * mm_));
        painter_.drawLine(QPointF(0, y + headHeight_), QPointF(width_, y + headHeight_));
        painter_.restore();
        return y + headHeight_;
    }

    qreal paintRow(qreal y, const QStringList &cells, bool shaded)
    {
        if (shaded) {
            painter_.save();
            painter_.setPen(Qt::NoPen);
            painter_.setBrush(QColor(0xf2, 0xf2, 0xf2));
            painter_.drawRect(QRectF(0, y, width_, rowHeight_));
            painter_.restore();
        }
        painter_.setPen(Qt::black);
        painter_.setFont(cellFont_);
        paintCells(y, rowHeight_, cells, cellFont_);
        return y + rowHeight_;
    }

    void paintCells(qreal y, qreal h, const QStringList &cells, const QFont &f)
    {
        const QFontMetricsF fm(f, &device_);
        const qreal pad = kCellPaddingMm * mm_;
        qreal x = 0;
        for (int c = 0; c < widths_.size(); ++c) {
            const qreal w = widths_.at(c);
            const QString text = fm.elidedText(cells.value(c), Qt::ElideRight, qMax<qreal>(0, w - 2 * pad));
            const Qt::Alignment align = report_.rightAligned.contains(c) ? Qt::AlignRight : Qt::AlignLeft;
            painter_.drawText(QRectF(x + pad, y, qMax<qreal>(0, w - 2 * pad), h), align | Qt::AlignVCenter, text);
            x += w;
        }
    }

    void paintFooter(int page, int pages)
    {
        painter_.save();
        painter_.setFont(footFont_);
        painter_.setPen(QColor(0x44, 0x44, 0x44));
        const QRectF r(0, height_ - footHeight_ * 0.7, width_, footHeight_ * 0.7);
        painter_.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetricsF(footFont_, &device_).elidedText(report_.title, Qt::ElideRight, width_ * 0.4));
        painter_.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter,
                          QStringLiteral("Printed %1").arg(QDateTime::currentDateTime().toString(
                              QStringLiteral("yyyy-MM-dd HH:mm"))));
        painter_.drawText(r, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(page).arg(pages));
        painter_.restore();
    }

    const Report &report_;
    QPagedPaintDevice &device_;
    QPainter &painter_;
    const qreal mm_;
    const qreal width_;
    const qreal height_;
    QFont base_, titleFont_, metaFont_, cellFont_, headFont_, footFont_;
    qreal rowHeight_ = 0, headHeight_ = 0, footHeight_ = 0;
    QList<qreal> widths_;
};

} // namespace

namespace ReportPrinter {

bool print(const Report &report, QPagedPaintDevice &device, QString *error)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("The report cannot be printed there.");
        return false;
    }
    Layout layout(report, device, painter);
    const bool ok = layout.run(error);
    painter.end();
    return ok;
}

bool writePdf(const Report &report, const QString &fileName, QString *error)
{
    QSaveFile file(fileName);
    const QString cannot = QStringLiteral("Cannot create file %1").arg(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = cannot;
        return false;
    }
    bool ok = false;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setTitle(report.title);
        pdf.setCreator(QStringLiteral("Corvalen-Pro"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        ok = print(report, pdf, error);
    }
    if (ok && file.error() == QFileDevice::NoError && file.commit())
        return true;
    file.cancelWriting();
    if (error && (ok || error->isEmpty()))
        *error = cannot;
    return false;
}

} // namespace ReportPrinter
