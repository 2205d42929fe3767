#pragma once

#include <QTableView>

class Table;
class TableModel;

// The phone grid DBGrid1 ("Phone List"): shows the phone table, read-only,
// one row per entry, and keeps its current row and the table's cursor
// together both ways: a row chosen in the grid moves the table (whose
// after-scroll handler then fills the edit fields); a move of the table
// selects its row. A title click sorts the table on that column
// (DBGrid1TitleClick). The grid has no delete of its own.
//
// While locked (an exchange with the panel is waiting) the grid still shows
// and scrolls but takes no click or key that would move or sort the table,
// so that an action waiting on the panel finds the cursor where it left it.
class PhoneGridView : public QTableView
{
    Q_OBJECT
public:
    explicit PhoneGridView(Table &table, QWidget *parent = nullptr);

    TableModel &tableModel() const { return *model_; }

    // SetupPhoneGrid's part: the five columns Name, RoomNumber, PHnumber,
    // Code1 and Code2, their widths, and the grid's width fitted to them.
    void setupColumns();
    // The code columns dimmed (olive text, grey titles) while global gate
    // codes are in use.
    void setCodeColumnsDimmed(bool dimmed);

    void setLocked(bool locked) { locked_ = locked; }
    bool isLocked() const { return locked_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void showTableCursor();
    void moveTableCursor(const QModelIndex &current);
    void DBGrid1TitleClick(int column);

    Table &table_;
    TableModel *model_;
    bool syncing_ = false;
    bool locked_ = false;
};
