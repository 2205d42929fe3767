// Rooms and names in the order people expect.
#include "table/NaturalOrder.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

TEST(NaturalOrder, NumbersByValueWordsIgnoringCase)
{
    QStringList rooms{QStringLiteral("102"), QStringLiteral("9"), QStringLiteral("4711"), QStringLiteral("10"),
                      QStringLiteral("010"), QStringLiteral("Butt.3"), QStringLiteral("InCall"),
                      QStringLiteral("error"), QStringLiteral("2b"), QStringLiteral("2a")};
    std::sort(rooms.begin(), rooms.end(), NaturalOrder());
    EXPECT_EQ(rooms, (QStringList{QStringLiteral("2a"), QStringLiteral("2b"), QStringLiteral("9"),
                                  QStringLiteral("010"), QStringLiteral("10"), QStringLiteral("102"),
                                  QStringLiteral("4711"), QStringLiteral("Butt.3"), QStringLiteral("error"),
                                  QStringLiteral("InCall")}));
    QStringList names{QStringLiteral("baker"), QStringLiteral("Adams 12"), QStringLiteral("adams 3"),
                      QStringLiteral("Baker")};
    std::sort(names.begin(), names.end(), NaturalOrder());
    EXPECT_EQ(names, (QStringList{QStringLiteral("adams 3"), QStringLiteral("Adams 12"), QStringLiteral("Baker"),
                                  QStringLiteral("baker")}));
    const NaturalOrder order;
    EXPECT_EQ(order.compare(QStringLiteral("a"), QStringLiteral("a")), 0);
    EXPECT_LT(order.compare(QString(), QStringLiteral("a")), 0);
    EXPECT_LT(order.compare(QStringLiteral("99999999999999999999"), QStringLiteral("100000000000000000000")), 0);
}
