#include "table/widgets/TableGrid.h"

#include "table/widgets/GridCellDelegate.h"

#include <QHeaderView>

TableGrid::TableGrid(Table &table, QWidget *parent)
    : QTableView(parent)
    , table_(table)
{
    // Connected before the model exists, so that these run before the model
    // (and the selection with it) reacts: a current row that the view moves
    // while rows come and go is not taken for a choice of the user.
    connect(&table_, &Table::aboutToReset, this, &TableGrid::tableChangeBegins);
    connect(&table_, &Table::aboutToInsertRow, this, &TableGrid::tableChangeBegins);
    connect(&table_, &Table::aboutToRemoveRow, this, &TableGrid::tableChangeBegins);
    connect(&table_, &Table::aboutToReorder, this, &TableGrid::tableChangeBegins);

    model_ = new TableModel(table_, this);
    setModel(model_);
    setItemDelegate(new GridCellDelegate(this));

    // Connected after the model, so that these run once it has caught up.
    connect(&table_, &Table::resetDone, this, &TableGrid::tableChangeEnds);
    connect(&table_, &Table::rowInserted, this, &TableGrid::tableChangeEnds);
    connect(&table_, &Table::rowRemoved, this, &TableGrid::tableChangeEnds);
    connect(&table_, &Table::reordered, this, &TableGrid::tableChangeEnds);
    connect(&table_, &Table::controlsEnabled, this, [this](bool enabled) {
        if (enabled)
            tableChangeEnds();
    });
    connect(&table_, &Table::afterScroll, this, &TableGrid::showCurrentRow);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChosen(current.row()); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        const int field = model_->fieldOfColumn(section);
        if (field >= 0)
            emit titleClicked(table_.fields().at(field).name);
    });

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setSortingEnabled(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    showCurrentRow();
}

void TableGrid::fitColumns()
{
    resizeColumnsToContents();
    // Sizing a stretched last column to its contents takes it out of the
    // stretch and leaves a blank strip at the right; it gets the rest of the
    // width back.
    QHeaderView *header = horizontalHeader();
    if (header->stretchLastSection()) {
        header->setStretchLastSection(false);
        header->setStretchLastSection(true);
    }
}

void TableGrid::showCurrentRow()
{
    if (table_.controlsDisabled() || tableChanging_)
        return;
    selecting_ = true;
    const int row = table_.currentRow();
    if (row >= 0 && row < model_->rowCount() && model_->columnCount() > 0) {
        const int column = qMax(currentIndex().column(), 0);
        const QModelIndex index = model_->index(row, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->clearCurrentIndex();
    }
    selecting_ = false;
}

void TableGrid::rowChosen(int row)
{
    if (selecting_ || tableChanging_ || row < 0 || table_.controlsDisabled() || !table_.isOpen())
        return;
    if (row == table_.currentRow())
        return;
    if (moveAllowed_ && !moveAllowed_()) {
        showCurrentRow();
        return;
    }
    table_.moveTo(row);
}

void TableGrid::tableChangeBegins()
{
    tableChanging_ = true;
}

void TableGrid::tableChangeEnds()
{
    tableChanging_ = false;
    showCurrentRow();
}
