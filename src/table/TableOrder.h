#pragma once

#include <QByteArray>
#include <QCollator>
#include <QList>

// One ascending order of table rows on one field: numbers by value for an
// integer field (a value that is no number comes before every number), text
// by the locale's collation. The order is stable: rows that compare equal
// keep the order they came in, and an entry placed later goes after its
// equals.
class TableOrder
{
public:
    using Row = QList<QByteArray>;

    // Orders on the field at `field`; the collation is the locale's at the
    // time of the call.
    void set(int field, bool numeric, Qt::CaseSensitivity cs);
    void clear() { field_ = -1; }
    bool active() const { return field_ >= 0; }
    int field() const { return field_; }

    bool lessThan(const Row &a, const Row &b) const;
    // Where `values` goes in `rows` (already in this order): after its equals.
    int insertPosition(const QList<Row> &rows, const Row &values) const;
    // Whether `values` may stay at `row` of `rows` without breaking the
    // order: an entry whose sort value did not move past a neighbour keeps
    // its place, so that a walk that edits other fields visits every entry
    // once.
    bool fitsAt(const QList<Row> &rows, int row, const Row &values) const;
    // The row numbers of `rows` in this order.
    QList<int> sortedOrder(const QList<Row> &rows) const;

private:
    int field_ = -1;
    bool numeric_ = false;
    QCollator collator_;
};
