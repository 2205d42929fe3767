#include "table/widgets/GridCellDelegate.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QTextOption>
#include <QtMath>
#include <QWidget>

namespace {
// Enough for every cell of a few screens of a grid in every column width;
// past it the kept layouts start again.
constexpr qsizetype kMostCells = 4096;

const QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

// The text margin the style keeps on both sides of a cell's text.
int textMargin(const QStyle *style, const QWidget *widget)
{
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}
} // namespace

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStyle *style = styleOf(opt);
    if (style != style_) {
        cells_.clear();
        style_ = style;
        styleMatches_ = Match::Unknown;
    }
    if (styleMatches_ != Match::No && plainTextCell(opt)) {
        const Cell &c = cell(opt, style);
        if (c.layout && (styleMatches_ == Match::Yes || probe(opt, style, c))) {
            drawCell(painter, opt, style, c);
            return;
        }
    }
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

// A cell of one line of text and nothing else, not being edited and without
// the focus frame.
bool GridCellDelegate::plainTextCell(const QStyleOptionViewItem &option)
{
    constexpr auto kOthers = QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasCheckIndicator
                             | QStyleOptionViewItem::HasDecoration;
    return (option.features & QStyleOptionViewItem::HasDisplay) && !(option.features & kOthers)
           && !option.text.isEmpty() && !(option.state & (QStyle::State_HasFocus | QStyle::State_Editing))
           && option.icon.isNull() && option.backgroundBrush.style() == Qt::NoBrush
           && !option.text.contains(QChar::LineSeparator);
}

// The text laid out as the style lays it out for this cell, with its place
// in the cell; kept for the next paint.
const GridCellDelegate::Cell &GridCellDelegate::cell(const QStyleOptionViewItem &option, const QStyle *style) const
{
    const Key key{option.text,           option.font,           option.rect.size(), int(option.displayAlignment),
                  int(option.direction), option.showDecorationSelected};
    auto it = cells_.constFind(key);
    if (it != cells_.constEnd())
        return it.value();
    if (cells_.size() >= kMostCells)
        cells_.clear();

    Cell made;
    const QRect styleRect = style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget);
    const int margin = textMargin(style, option.widget);
    const QRect textRect = styleRect.adjusted(margin, 0, -margin, 0);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(QStyle::visualAlignment(option.direction, option.displayAlignment));
    auto layout = std::make_shared<QTextLayout>(option.text, option.font);
    layout->setTextOption(textOption);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) {
        line.setLineWidth(textRect.width());
        line.setPosition(QPointF(0, 0));
    }
    const bool oneLine = line.isValid() && !layout->createLine().isValid();
    layout->endLayout();
    // Text wider than the cell is elided by the style, text taller than it
    // is cut: both stay the style's.
    if (oneLine && line.naturalTextWidth() <= textRect.width() && qCeil(line.height()) <= textRect.height()) {
        const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, option.displayAlignment,
                                                 layout->boundingRect().size().toSize(), textRect);
        made.layout = std::move(layout);
        made.position = QPointF(textRect.x() - option.rect.x(), placed.top() - option.rect.y());
    }
    return cells_.insert(key, made).value();
}

// The style's steps for a text cell: clip to the cell, its background, the
// text in the style's pen.
void GridCellDelegate::drawCell(QPainter *painter, const QStyleOptionViewItem &option, const QStyle *style,
                                const Cell &cell) const
{
    painter->save();
    painter->setClipRect(option.rect);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, option.widget);
    QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
        group = QPalette::Inactive;
    painter->setPen(option.palette.color(
        group, option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    cell.layout->draw(painter, option.rect.topLeft() + cell.position);
    painter->restore();
}

// The cell drawn by the style and by this delegate, unselected and
// selected, on the view's background: the same pixels or the style keeps
// every cell.
bool GridCellDelegate::probe(const QStyleOptionViewItem &option, const QStyle *style, const Cell &cell) const
{
    bool same = true;
    for (const bool selected : {false, true}) {
        QStyleOptionViewItem opt = option;
        opt.rect.moveTopLeft(QPoint(0, 0));
        opt.state.setFlag(QStyle::State_Selected, selected);
        QImage byStyle(opt.rect.size(), QImage::Format_ARGB32_Premultiplied);
        byStyle.fill(opt.palette.color(QPalette::Base));
        QImage byCell = byStyle;
        {
            QPainter p(&byStyle);
            style->drawControl(QStyle::CE_ItemViewItem, &opt, &p, opt.widget);
        }
        {
            QPainter p(&byCell);
            drawCell(&p, opt, style, cell);
        }
        same = same && byStyle == byCell;
    }
    styleMatches_ = same ? Match::Yes : Match::No;
    return same;
}
