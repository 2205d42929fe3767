#include "directory/DirectorySlots.h"
#include "directory/PhoneDirectory.h"

#include <gtest/gtest.h>

namespace {
struct Phones
{
    PhoneDirectory dir;
    Phones()
    {
        dir.DefinePhoneFields();
        dir.PhoneTable.open();
    }
    void add(const QByteArray &name, const QByteArray &addr)
    {
        dir.PhoneTable.appendRecord({name, "1", "", "", "", "", "", addr});
    }
    QList<QByteArray> addrs() const
    {
        QList<QByteArray> out;
        for (int r = 0; r < dir.PhoneTable.count(); ++r)
            out << dir.PhoneTable.value(r, "Addr");
        return out;
    }
};
constexpr qint32 k100Model = 0x1D00;
} // namespace

TEST(FindFreeSlot, OnA100ModelTakesTheFirstGapAndLeavesSlotOrder)
{
    Phones p;
    EXPECT_EQ(FindFreeSlot(p.dir.PhoneTable, k100Model), QByteArray("1000"));
    p.add("b", "1040");
    p.add("a", "1000");
    p.add("c", "p2"); // an entry of the RFID download holds no slot
    EXPECT_EQ(FindFreeSlot(p.dir.PhoneTable, k100Model), QByteArray("1020"));
    EXPECT_EQ(p.addrs(), (QList<QByteArray>{"1000", "1040", "p2"}));
}

TEST(FindFreeSlot, FullOrUnrecognisedModelGivesZeros)
{
    Phones p;
    for (qint32 a = 0x1000; a <= k100Model; a += 0x20)
        p.add("x", DirectorySlots::text(a));
    ASSERT_EQ(p.dir.PhoneTable.count(), 105);
    EXPECT_EQ(FindFreeSlot(p.dir.PhoneTable, k100Model), QByteArray("0000"));
    EXPECT_EQ(FindFreeSlot(p.dir.PhoneTable, 0x9000), QByteArray("1D20"));

    Phones empty;
    EXPECT_EQ(FindFreeSlot(empty.dir.PhoneTable, 0), QByteArray("0000"));
}

TEST(FindFreeSlot, ASlotWrittenInLowerCaseIsStillUsed)
{
    Phones p;
    p.add("a", "1000");
    p.add("b", "1a00");
    for (qint32 a = 0x1020; a < 0x1A00; a += 0x20)
        p.add("x", DirectorySlots::text(a));
    EXPECT_EQ(FindFreeSlot(p.dir.PhoneTable, 0x9000), QByteArray("1A20"));
}

TEST(DirectorySlots, SlotsPlaceholdersAndLimits)
{
    EXPECT_EQ(DirectorySlots::text(0x1CE0), QByteArray("1CE0"));
    EXPECT_TRUE(DirectorySlots::isDirectorySlot("1D00", k100Model));
    EXPECT_FALSE(DirectorySlots::isDirectorySlot("1D20", k100Model));
    EXPECT_FALSE(DirectorySlots::isDirectorySlot("0020", k100Model)); // a parameter record
    EXPECT_FALSE(DirectorySlots::isDirectorySlot("1010", k100Model)); // between two slots
    EXPECT_FALSE(DirectorySlots::isDirectorySlot("p2", k100Model));
    EXPECT_FALSE(DirectorySlots::isDirectorySlot("", k100Model));
    EXPECT_TRUE(DirectorySlots::isDirectorySlot("9000", 0)); // unknown model: the whole read range
    EXPECT_TRUE(DirectorySlots::isPlaceholder("p2"));
    EXPECT_TRUE(DirectorySlots::isPlaceholder("p123"));
    EXPECT_FALSE(DirectorySlots::isPlaceholder("p"));
    EXPECT_FALSE(DirectorySlots::isPlaceholder("1000"));
    EXPECT_EQ(DirectorySlots::uploadLimit(0x1D00), 104);
    EXPECT_EQ(DirectorySlots::uploadLimit(0x2A00), 208);
    EXPECT_EQ(DirectorySlots::uploadLimit(0x5100), 520);
    EXPECT_EQ(DirectorySlots::uploadLimit(0x9000), 1024);
    EXPECT_LT(DirectorySlots::uploadLimit(0), 0);
}
