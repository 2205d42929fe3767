// What writing a phone list changes, as the question before it shows it.
#include "directory/DirectoryComparison.h"

#include <gtest/gtest.h>

namespace {
PanelEntry entry(const char *slot, const char *room, const char *phone, const char *name)
{
    return {slot, room, "", "", "", phone, name};
}
} // namespace

TEST(DirectoryComparisonRounds, AddedRemovedChangedRenamedAndMovedResidents)
{
    const QList<PanelEntry> panel = {entry("1000", "101", "0211", "Adams"), entry("1020", "102", "0212", "Baker"),
                                     entry("1040", "103", "0213", "Clark"), entry("1060", "104", "0214", "Dunn")};
    const QList<PanelEntry> list = {
        entry("1000", "102", "0212", "Baker"),   // moved slot only: unchanged
        entry("1020", "101", "0299", "Adams"),   // new number: changed
        entry("1040", "103", "0213", "Clarke"),  // same room, new name: renamed
        entry("1060", "105", "0215", "Evans"),   // new
    };
    const DirectoryComparison c = DirectoryComparison::compare(panel, list);
    EXPECT_EQ(c.unchanged, 1);
    ASSERT_EQ(c.changed.size(), 2);
    EXPECT_EQ(c.changed[0].before.Name, QByteArray("Adams"));
    EXPECT_EQ(c.changed[1].after.Name, QByteArray("Clarke"));
    ASSERT_EQ(c.added.size(), 1);
    EXPECT_EQ(c.added[0].Name, QByteArray("Evans"));
    ASSERT_EQ(c.removed.size(), 1);
    EXPECT_EQ(c.removed[0].Name, QByteArray("Dunn"));
    EXPECT_EQ(c.text(), QStringLiteral("1 added, 1 removed, 2 changed, 1 unchanged\r\n"
                                       "+ Evans (105)\r\n- Dunn (104)\r\n"
                                       "* Adams (101): PHnumber 0211 -> 0299\r\n"
                                       "* Clark (103): Name Clark -> Clarke"));

    // Compared as the panel holds them: a room with a trailing letter is
    // written as its digits, so it is no change.
    const DirectoryComparison same =
        DirectoryComparison::compare(panel, {entry("1000", "101a", "0211", "Adams"), panel[1], panel[2], panel[3]});
    EXPECT_TRUE(same.isEmpty());
    EXPECT_EQ(same.text(), QStringLiteral("no changes"));
}
