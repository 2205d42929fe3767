#include "table/NaturalOrder.h"

namespace {
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The run of digits, or of other characters, that starts at i.
QStringView run(const QString &s, qsizetype i)
{
    const bool digits = isDigit(s.at(i));
    qsizetype j = i;
    while (j < s.size() && isDigit(s.at(j)) == digits)
        ++j;
    return QStringView(s).mid(i, j - i);
}
} // namespace

NaturalOrder::NaturalOrder()
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

int NaturalOrder::compare(const QString &a, const QString &b) const
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const QStringView ra = run(a, i);
        const QStringView rb = run(b, j);
        const bool da = isDigit(ra.front());
        const bool db = isDigit(rb.front());
        int c = 0;
        if (da && db) {
            // By value: without leading zeros, the longer number is larger.
            QStringView va = ra;
            QStringView vb = rb;
            while (va.size() > 1 && va.front() == u'0')
                va = va.mid(1);
            while (vb.size() > 1 && vb.front() == u'0')
                vb = vb.mid(1);
            c = va.size() != vb.size() ? (va.size() < vb.size() ? -1 : 1) : va.compare(vb);
        } else if (da != db) {
            c = da ? -1 : 1; // numbers before words
        } else {
            c = collator_.compare(ra, rb);
        }
        if (c != 0)
            return c;
        i += ra.size();
        j += rb.size();
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    // Equal by this order: "007" and "7", "Ann" and "ann" still need an order.
    return collator_.compare(a, b) != 0 ? collator_.compare(a, b) : a.compare(b);
}
