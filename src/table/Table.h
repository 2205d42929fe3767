#pragma once

#include "table/TableOrder.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>

// The in-memory table under the phone directory and the event log: named
// fields of fixed width holding 8-bit text, a cursor, one optional sort, and
// change notification for grids and for the after-scroll handlers.
//
// The cursor works like a data-aware dataset: position() is the 1-based place
// of the current entry in the current order, -1 while a new entry is being
// added and when the table is empty. Moving the cursor while an entry is
// being edited or added stores it when something was changed and drops it
// otherwise. A sort stays in force until the next sort or redefinition; an
// entry stored later takes its place in that order.
class Table : public QObject
{
    Q_OBJECT
public:
    enum class FieldType { Text, Integer };
    struct Field
    {
        QByteArray name;
        int width = 0;     // text: longer values are cut; integer: unused
        FieldType type = FieldType::Text;
    };
    enum class State { Closed, Browse, Edit, Insert };

    explicit Table(QObject *parent = nullptr);

    // Closes the table and drops its rows, sort and fields, then defines the
    // given fields. The table stays closed until open().
    void redefine(const QList<Field> &fields);
    void open();
    void close();
    bool isOpen() const { return state_ != State::Closed; }
    State state() const { return state_; }
    // Removes every entry.
    void emptyTable();

    const QList<Field> &fields() const { return fields_; }
    // Field index by name, ignoring case; -1 when there is none.
    int fieldIndex(const QByteArray &name) const;

    int count() const { return int(rows_.size()); }
    // The stored value at a row of the current order (0-based).
    QByteArray value(int row, int field) const;
    QByteArray value(int row, const QByteArray &fieldName) const;
    const QList<QByteArray> &row(int row) const { return rows_.at(row); }
    // Every row in the current order (shared: keeping a copy costs nothing
    // until the table changes).
    const QList<QList<QByteArray>> &rows() const { return rows_; }

    // The current entry's value: the edit buffer while editing or adding.
    QByteArray field(const QByteArray &fieldName) const;
    QByteArray field(int index) const;
    // Starts editing the current entry if the table is browsing.
    void setField(const QByteArray &fieldName, const QByteArray &value);
    void setField(int index, const QByteArray &value);

    int position() const;
    int currentRow() const { return state_ == State::Insert ? -1 : cur_; }
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }

    void first();
    void next();
    void prior();
    void last();
    // Moves to a row of the current order (0-based), clamped.
    void moveTo(int row);

    // Starts a new entry at the end, or before the current entry.
    void append();
    void insert();
    void edit();
    // Stores the entry being edited or added; false when there is none.
    bool post();
    void cancel();
    // Deletes the current entry unless beforeDelete refuses.
    bool remove();
    // append(), set the values in field order, post().
    void appendRecord(const QList<QByteArray> &values);

    // Sorts ascending on one field by the locale's collation.
    void sortOn(const QByteArray &fieldName, Qt::CaseSensitivity cs);
    int sortField() const { return order_.field(); }
    // Ends a pending edit (posted when modified). The views read the table
    // as it stands, so there is nothing else to fetch again.
    void refresh();

    // First row (in the current order) whose field equals value exactly;
    // -1 when none. locate() also moves the cursor there.
    int find(const QByteArray &fieldName, const QByteArray &value) const;
    bool locate(const QByteArray &fieldName, const QByteArray &value);

    // Suspends the grids while many entries change; calls nest.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }
    // Keeps the controls suspended for its own lifetime.
    class ControlsPause
    {
    public:
        explicit ControlsPause(Table &table) : table_(table) { table_.disableControls(); }
        ~ControlsPause() { table_.enableControls(); }
        ControlsPause(const ControlsPause &) = delete;
        ControlsPause &operator=(const ControlsPause &) = delete;

    private:
        Table &table_;
    };

    // Asked before any delete; returning false cancels it silently.
    std::function<bool()> beforeDelete;

signals:
    // After every move of the cursor, including a new entry being started.
    void afterScroll();
    void aboutToReset();
    void resetDone();
    void aboutToInsertRow(int row);
    void rowInserted(int row);
    void aboutToRemoveRow(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void aboutToReorder();
    void reordered();
    void controlsEnabled(bool enabled);

private:
    bool checkBrowseMode();
    void scrolled();
    QByteArray cut(int index, const QByteArray &value) const;

    QList<Field> fields_;
    QList<QList<QByteArray>> rows_;
    State state_ = State::Closed;
    int cur_ = -1;
    int insertAt_ = -1;
    bool modified_ = false;
    bool eof_ = true;
    bool bof_ = true;
    QList<QByteArray> buffer_;
    TableOrder order_;
    int disabled_ = 0;
};
