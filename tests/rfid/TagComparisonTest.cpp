// What Write All of the RFID store changes, as the question before it shows it.
#include "rfid/TagComparison.h"

#include <gtest/gtest.h>

TEST(TagComparisonPairs, AddedAndRemovedTagsOrderDoesNotCount)
{
    const QList<StoreCodec::Entry> panel = {{"101", "04A1B2C3D4"}, {"102", "04E5F60718"}};
    const QList<StoreCodec::Entry> table = {{"102", "04E5F60718"}, {"103", "0000000001"}};
    EXPECT_EQ(TagComparison::text(TagComparison::changes(panel, table)),
              QStringLiteral("1 tags added, 1 removed\r\n+ 0000000001 (room 103)\r\n- 04A1B2C3D4 (room 101)"));
    EXPECT_EQ(TagComparison::text(TagComparison::changes(panel, panel)), QStringLiteral("no changes"));
}
