// What Write All changes, field by field, as the question before it shows it.
#include "parameters/ParameterComparison.h"

#include <gtest/gtest.h>

TEST(ParameterComparisonFields, ChangedFieldsByName)
{
    ParameterRecordSet a, b;
    for (int r = 1; r <= 10; ++r) {
        a.setRecord(r, QByteArray(32, char(0xFF)));
        b.setRecord(r, QByteArray(32, char(0xFF)));
    }
    EXPECT_EQ(ParameterComparison::text(ParameterComparison::changes(a, b)), QStringLiteral("no changes"));
    b.setRecord(8, QByteArray("0211") + QByteArray(28, char(0xFF)));
    b.setRecord(6, QByteArray(4, char(0xFF)) + "4711" + QByteArray(24, char(0xFF)));
    EXPECT_EQ(ParameterComparison::text(ParameterComparison::changes(a, b)),
              QStringLiteral("Gate code 2: (empty) -> \"4711\"\r\nSpeed dial 3: (empty) -> \"0211\""));
}
