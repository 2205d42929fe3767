#include "directory/widgets/PhoneGridView.h"

#include "directory/PhoneFields.h"
#include "directory/PhoneGridSort.h"
#include "directory/widgets/WidgetHint.h"
#include "table/Table.h"
#include "table/widgets/GridCellDelegate.h"
#include "table/widgets/TableModel.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

namespace {
// The visible columns and how many characters each is made wide for.
struct Column
{
    const char *field;
    int characters;
};
constexpr Column kColumns[] = {
    {"Name", 16}, {"RoomNumber", 6}, {"PHnumber", 14}, {"Code1", 4}, {"Code2", 4},
};
} // namespace

PhoneGridView::PhoneGridView(Table &table, QWidget *parent)
    : QTableView(parent)
    , table_(table)
    , model_(new TableModel(table, this))
{
    setObjectName(QStringLiteral("DBGrid1"));
    setAccessibleName(QStringLiteral("Phone List"));
    WidgetHint::apply(this, QStringLiteral("Phone List"));
    setModel(model_);
    setItemDelegate(new GridCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // The corner button would select every row; one row is current at a time.
    setCornerButtonEnabled(false);
    if (auto *corner = findChild<QAbstractButton *>())
        corner->setAccessibleName(QStringLiteral("Phone List corner"));

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { moveTableCursor(current); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &PhoneGridView::DBGrid1TitleClick);

    // The table's moves and changes select the cursor's row again. These run
    // after the view's own handling of the same model signals.
    connect(&table_, &Table::afterScroll, this, &PhoneGridView::showTableCursor);
    connect(model_, &QAbstractItemModel::modelReset, this, &PhoneGridView::showTableCursor);
    connect(&table_, &Table::controlsEnabled, this, [this](bool enabled) {
        if (enabled)
            showTableCursor(); // the model did not reset when nothing it shows changed
    });
    connect(model_, &QAbstractItemModel::layoutChanged, this, &PhoneGridView::showTableCursor);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &PhoneGridView::showTableCursor);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &PhoneGridView::showTableCursor);
    setupColumns();
}

void PhoneGridView::setupColumns()
{
    QList<QByteArray> names;
    for (const Column &c : kColumns)
        names << QByteArray(c.field);
    model_->setVisibleFields(names);

    const QFontMetrics body = fontMetrics();
    const QFontMetrics title = horizontalHeader()->fontMetrics();
    int total = 0;
    for (int column = 0; column < model_->columnCount(); ++column) {
        const QByteArray field = model_->visibleFields().at(column);
        int characters = PhoneFields::kCodeWidth;
        for (const Column &c : kColumns)
            if (field == c.field)
                characters = c.characters;
        // Names by a little more than the font's average character (names
        // have capitals and wide letters), the rest are digits.
        const int charWidth = field == PhoneFields::Name ? body.averageCharWidth() * 5 / 4 + 1
                                                         : body.horizontalAdvance(QLatin1Char('0'));
        const int width = qMax(characters * charWidth, title.horizontalAdvance(QString::fromLatin1(field))) + 12;
        setColumnWidth(column, width);
        total += width;
    }
    verticalHeader()->setFixedWidth(body.horizontalAdvance(QStringLiteral("0000")) + 8);
    // The grid as wide as its five columns: row numbers, columns, frame and
    // the scroll bar.
    setFixedWidth(verticalHeader()->width() + total + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
    viewport()->update();
}

void PhoneGridView::setCodeColumnsDimmed(bool dimmed)
{
    model_->setDimmedFields(dimmed ? QSet<QByteArray>{PhoneFields::Code1, PhoneFields::Code2, PhoneFields::Spare}
                                   : QSet<QByteArray>{});
    horizontalHeader()->viewport()->update();
}

// The table's cursor shown as the current row; no row while a new entry is
// being added. Nothing moves while the grids are suspended: the table is
// then walked by a transfer, and the grid catches up when it comes back.
void PhoneGridView::showTableCursor()
{
    if (table_.controlsDisabled())
        return;
    const int row = table_.currentRow();
    if (row >= model_->rowCount())
        return;
    const QModelIndex current = currentIndex();
    if (row < 0) {
        if (current.isValid() || selectionModel()->hasSelection()) {
            syncing_ = true;
            selectionModel()->clear();
            syncing_ = false;
        }
        return;
    }
    if (current.row() == row && selectionModel()->isRowSelected(row, {}))
        return;
    syncing_ = true;
    const QModelIndex target = model_->index(row, qMax(current.column(), 0));
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
    syncing_ = false;
}

void PhoneGridView::moveTableCursor(const QModelIndex &current)
{
    if (syncing_ || !current.isValid() || !table_.isOpen())
        return;
    if (current.row() != table_.currentRow() || table_.state() == Table::State::Insert)
        table_.moveTo(current.row()); // fires afterScroll: the fields follow
}

void PhoneGridView::DBGrid1TitleClick(int column)
{
    if (locked_)
        return;
    const int field = model_->fieldOfColumn(column);
    if (field < 0 || field >= table_.fields().size())
        return;
    PhoneGridSort::DBGrid1TitleClick(table_, table_.fields().at(field).name);
}

void PhoneGridView::keyPressEvent(QKeyEvent *event)
{
    // Moving keys would move the table under a waiting exchange.
    if (locked_ && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool PhoneGridView::viewportEvent(QEvent *event)
{
    if (locked_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            event->accept();
            return true;
        default: break;
        }
    }
    return QTableView::viewportEvent(event);
}
