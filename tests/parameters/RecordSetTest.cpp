// The parameter records as a backup keeps them, byte for byte.
#include "parameters/ParameterRecordSet.h"

#include <gtest/gtest.h>

TEST(ParameterRecordSetForm, EveryByteGoesToTheFileAndBackAndShortRecordsAreNulFilled)
{
    ParameterRecordSet set;
    EXPECT_FALSE(set.isComplete());
    set.setRecord(0, "1234"); // never the PIN
    EXPECT_FALSE(set.has(0));
    for (int r = 1; r <= 10; ++r)
        set.setRecord(r, QByteArray(32, char(0xFF)));
    set.setRecord(3, "Press the room number then #"); // its NUL filling was lost on the line
    set.setRecord(6, QByteArray("12\xff\xff", 4) + QByteArray(40, '9'));
    EXPECT_TRUE(set.isComplete());
    EXPECT_EQ(set.record(3), QByteArray("Press the room number then #") + QByteArray(4, '\0'));
    EXPECT_EQ(set.record(6).size(), 32);

    const QByteArray file = set.toFile();
    EXPECT_TRUE(file.startsWith("corvalen-parameter-records 1\r\n0001 FFFF"));
    EXPECT_FALSE(file.contains("0000 "));
    QString why;
    const std::optional<ParameterRecordSet> back = ParameterRecordSet::fromFile(file, &why);
    ASSERT_TRUE(back) << qPrintable(why);
    EXPECT_TRUE(*back == set);

    EXPECT_FALSE(ParameterRecordSet::fromFile("corvalen-parameter-records 1\r\n0000 " + QByteArray(64, 'F') + "\r\n", &why));
    EXPECT_EQ(why, QStringLiteral("Line 2 is not a parameter record."));
    EXPECT_FALSE(ParameterRecordSet::fromFile("corvalen-parameter-records 1\r\n0001 XY\r\n", &why));
    EXPECT_FALSE(ParameterRecordSet::fromFile(QByteArray(467, '\0'), &why));
    EXPECT_EQ(why, QStringLiteral("It is not a parameter record file."));
}
