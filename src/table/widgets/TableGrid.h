#pragma once

#include "table/Table.h"
#include "table/widgets/TableModel.h"

#include <QTableView>
#include <functional>

// A read-only grid over a Table that follows the table's cursor: the row of
// the current entry is the selected row. Choosing a row in the grid moves
// the cursor there; a move of the cursor from anywhere else (another grid
// on the same table, a transfer walking the entries) only selects the row
// and does not come back as a move. While the table's controls are
// suspended the grid stays as it was and catches up when they resume.
class TableGrid : public QTableView
{
    Q_OBJECT
public:
    explicit TableGrid(Table &table, QWidget *parent = nullptr);

    TableModel *tableModel() const { return model_; }
    Table &table() const { return table_; }

    // Asked before a row chosen in the grid moves the cursor; when it says
    // no, the grid goes back to the current entry.
    void setMoveAllowed(std::function<bool()> allowed) { moveAllowed_ = std::move(allowed); }

    // Every column as wide as its title and its widest value.
    void fitColumns();

    // Selects the current entry's row (none while a new entry is being added
    // or the table is empty).
    void showCurrentRow();

signals:
    // A click on a column title, with the field the column shows.
    void titleClicked(const QByteArray &field);

private:
    void rowChosen(int row);
    void tableChangeBegins();
    void tableChangeEnds();

    Table &table_;
    TableModel *model_ = nullptr;
    std::function<bool()> moveAllowed_;
    bool tableChanging_ = false;
    bool selecting_ = false;
};
