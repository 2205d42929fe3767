#include "table/TableOrder.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {
using Rows = QList<TableOrder::Row>;

Rows oneColumn(std::initializer_list<const char *> values)
{
    Rows rows;
    for (const char *v : values)
        rows << TableOrder::Row{QByteArray(v)};
    return rows;
}

QList<QByteArray> inOrder(const TableOrder &order, const Rows &rows)
{
    QList<QByteArray> out;
    for (int i : order.sortedOrder(rows))
        out << rows.at(i).at(0);
    return out;
}
} // namespace

TEST(TableOrderTest, NumbersSortByValueWithWhatIsNoNumberFirst)
{
    TableOrder order;
    order.set(0, true, Qt::CaseSensitive);
    const Rows rows = oneColumn({"12", "", "-5", "x", "3", "9999999999"});
    EXPECT_EQ(inOrder(order, rows), (QList<QByteArray>{"", "x", "-5", "3", "12", "9999999999"}));
}

TEST(TableOrderTest, EightBitTextSortsAsLatin1Letters)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TableOrder order;
    order.set(0, false, Qt::CaseInsensitive);
    // "\xC4" is A with diaeresis: a letter beside A, not a byte after "z".
    const Rows rows = oneColumn({"zeta", "\xC4pfel", "Bach", "apfel"});
    const QList<QByteArray> sorted = inOrder(order, rows);
    EXPECT_EQ(sorted.last(), QByteArray("zeta"));
    EXPECT_EQ(sorted.at(2), QByteArray("Bach"));
    QLocale::setDefault(saved);
}

TEST(TableOrderTest, EqualEntriesKeepTheirOrderAndANewOneGoesAfterThem)
{
    TableOrder order;
    order.set(0, false, Qt::CaseInsensitive);
    Rows rows;
    for (const char *name : {"smith", "Adams", "SMITH", "Smith"})
        rows << TableOrder::Row{name, QByteArray::number(rows.size())};
    QList<QByteArray> arrival;
    for (int i : order.sortedOrder(rows))
        arrival << rows.at(i).at(1);
    EXPECT_EQ(arrival, (QList<QByteArray>{"1", "0", "2", "3"}));

    const Rows sorted = {rows.at(1), rows.at(0), rows.at(2), rows.at(3)};
    EXPECT_EQ(order.insertPosition(sorted, {"sMiTh", "new"}), 4);
    EXPECT_EQ(order.insertPosition(sorted, {"Adams", "new"}), 1);
    EXPECT_EQ(order.insertPosition(sorted, {"aaron", "new"}), 0);
    EXPECT_EQ(order.insertPosition({}, {"aaron", "new"}), 0);
}

TEST(TableOrderTest, AnEntryFitsWhereItDoesNotPassANeighbour)
{
    TableOrder order;
    order.set(0, true, Qt::CaseSensitive);
    const Rows rows = oneColumn({"1", "5", "5", "9"});
    EXPECT_TRUE(order.fitsAt(rows, 1, {"5"}));
    EXPECT_TRUE(order.fitsAt(rows, 2, {"5"}));
    EXPECT_TRUE(order.fitsAt(rows, 0, {"-3"}));
    EXPECT_TRUE(order.fitsAt(rows, 3, {"42"}));
    EXPECT_FALSE(order.fitsAt(rows, 1, {"0"}));
    EXPECT_FALSE(order.fitsAt(rows, 2, {"10"}));
    EXPECT_FALSE(order.fitsAt(rows, 0, {"6"}));
    EXPECT_FALSE(order.fitsAt(rows, 3, {"4"}));
    EXPECT_TRUE(order.fitsAt(oneColumn({"7"}), 0, {"anything"}));
}

TEST(TableOrderTest, ClearingLeavesNoOrder)
{
    TableOrder order;
    EXPECT_FALSE(order.active());
    order.set(2, false, Qt::CaseSensitive);
    EXPECT_TRUE(order.active());
    EXPECT_EQ(order.field(), 2);
    order.clear();
    EXPECT_FALSE(order.active());
    EXPECT_EQ(order.field(), -1);
}
