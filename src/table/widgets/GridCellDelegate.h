#pragma once

#include <QFont>
#include <QHash>
#include <QPointF>
#include <QRect>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <memory>

class QStyle;

// Draws a grid's cells as the style draws them, keeping the laid-out text
// of each cell: a grid painted again whole (sorted, scrolled, disabled or
// enabled) draws glyphs it has already shaped instead of shaping every cell
// again, which is most of the cost of a grid's paint.
//
// The steps are the style's own for a text cell: its background, its text
// in the pen the style picks, placed where the style places it. Cells with
// anything else (a check box, an icon, wrapped, elided or multi-line text,
// the focus frame, an editor) are left to the style. The first cell drawn
// under a style is drawn both ways and compared pixel by pixel; if they
// differ (a style with a look of its own), every cell is left to the style.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Texts laid out and kept (for tests and benchmarks).
    qsizetype cachedTexts() const { return cells_.size(); }
    // Whether the style drew the probe cell as this delegate does.
    bool matchesStyle() const { return styleMatches_ == Match::Yes; }

private:
    struct Key
    {
        QString text;
        QFont font;
        QSize size;
        int alignment = 0;
        int direction = 0;
        bool decorationSelected = false;
        bool operator==(const Key &o) const
        {
            return size == o.size && alignment == o.alignment && direction == o.direction
                   && decorationSelected == o.decorationSelected && text == o.text && font == o.font;
        }
        friend size_t qHash(const Key &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.text, key.size.width(), key.size.height(), key.alignment);
        }
    };
    // A cell's text laid out once, and where it goes, from the cell's top left.
    struct Cell
    {
        std::shared_ptr<QTextLayout> layout; // null: the style draws this cell
        QPointF position;
    };
    enum class Match { Unknown, Yes, No };

    static bool plainTextCell(const QStyleOptionViewItem &option);
    const Cell &cell(const QStyleOptionViewItem &option, const QStyle *style) const;
    void drawCell(QPainter *painter, const QStyleOptionViewItem &option, const QStyle *style, const Cell &cell) const;
    bool probe(const QStyleOptionViewItem &option, const QStyle *style, const Cell &cell) const;

    mutable QHash<Key, Cell> cells_;
    mutable const QStyle *style_ = nullptr;
    mutable Match styleMatches_ = Match::Unknown;
};
