#include "table/TableOrder.h"

#include <QLocale>
#include <QString>
#include <algorithm>
#include <limits>

void TableOrder::set(int field, bool numeric, Qt::CaseSensitivity cs)
{
    field_ = field;
    numeric_ = numeric;
    // The C (POSIX) locale has no collation of its own: QCollator would order
    // by character codes there ("B" before "a"). The user's order is a
    // language's order, so such systems get the neutral order of English.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    collator_ = QCollator(locale);
    collator_.setCaseSensitivity(cs);
    collator_.setNumericMode(false);
}

bool TableOrder::lessThan(const Row &a, const Row &b) const
{
    const QByteArray &x = a.at(field_);
    const QByteArray &y = b.at(field_);
    if (numeric_) {
        bool okx = false, oky = false;
        const qint64 vx = x.toLongLong(&okx);
        const qint64 vy = y.toLongLong(&oky);
        return (okx ? vx : std::numeric_limits<qint64>::min()) < (oky ? vy : std::numeric_limits<qint64>::min());
    }
    return collator_.compare(QString::fromLatin1(x), QString::fromLatin1(y)) < 0;
}

int TableOrder::insertPosition(const QList<Row> &rows, const Row &values) const
{
    const auto it = std::upper_bound(rows.cbegin(), rows.cend(), values,
                                     [this](const Row &v, const Row &r) { return lessThan(v, r); });
    return int(it - rows.cbegin());
}

bool TableOrder::fitsAt(const QList<Row> &rows, int row, const Row &values) const
{
    if (row > 0 && lessThan(values, rows.at(row - 1)))
        return false;
    if (row + 1 < rows.size() && lessThan(rows.at(row + 1), values))
        return false;
    return true;
}

QList<int> TableOrder::sortedOrder(const QList<Row> &rows) const
{
    QList<int> order(rows.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lessThan(rows.at(a), rows.at(b)); });
    return order;
}
