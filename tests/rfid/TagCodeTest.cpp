#include "rfid/AssignedAddrs.h"
#include "rfid/StoreCodec.h"
#include "rfid/TagLine.h"

#include <gtest/gtest.h>

using namespace StoreCodec;
using TagLine::CheckTagLine;

TEST(TagLineCheck, TheCheckPairIsTheExclusiveOrOfTheFiveBytes)
{
    // 01 ^ 23 ^ 45 ^ 67 ^ 89 = 89
    EXPECT_EQ(CheckTagLine("012345678989"), QByteArray("0123456789"));
    EXPECT_EQ(CheckTagLine("012345678989 and more"), QByteArray("0123456789"));
    EXPECT_EQ(CheckTagLine("01234567898A"), QByteArray(""));
    EXPECT_EQ(CheckTagLine("0000000000FF"), QByteArray(""));
    EXPECT_EQ(CheckTagLine("000000000000"), QByteArray("0000000000"));
}

TEST(TagLineCheck, EitherCaseIsAcceptedAndKeptAsReceived)
{
    // ab ^ cd ^ ef ^ 01 ^ 23 = ab
    EXPECT_EQ(CheckTagLine("abcdef0123ab"), QByteArray("abcdef0123"));
    EXPECT_EQ(CheckTagLine("abcdef0123AB"), QByteArray("abcdef0123"));
    EXPECT_EQ(CheckTagLine("ABCDEF0123ab"), QByteArray("ABCDEF0123"));
}

TEST(TagLineCheck, ShortOrNonHexadecimalLinesFail)
{
    EXPECT_EQ(CheckTagLine("01234567898"), QByteArray(""));
    EXPECT_EQ(CheckTagLine(""), QByteArray(""));
    EXPECT_EQ(CheckTagLine("0G2345678989"), QByteArray(""));
    EXPECT_EQ(CheckTagLine("0123456789 9"), QByteArray(""));
    EXPECT_EQ(CheckTagLine("OK\r\n"), QByteArray(""));
}

TEST(StoreCodes, PanelFormAndTableFormConvertBothWays)
{
    EXPECT_EQ(DecodeStoreCode("12:;<=>?90"), QByteArray("12ABCDEF90"));
    EXPECT_EQ(HexToPanelChars("12ABCDEF90"), QByteArray("12:;<=>?90"));
    // Lower case, which a table may still hold from an older file, too.
    EXPECT_EQ(HexToPanelChars("12abcdef90"), QByteArray("12:;<=>?90"));
    EXPECT_EQ(UpperCaseCode("04a1b2c3d4"), QByteArray("04A1B2C3D4"));
    EXPECT_EQ(UpperCaseCode("ghz\xe9:"), QByteArray("ghz\xe9:")); // only the hexadecimal letters
    // Characters outside "0" to "?" are dropped: the code comes in short.
    EXPECT_EQ(DecodeStoreCode("12A4567890"), QByteArray("124567890"));
    EXPECT_EQ(DecodeStoreCode("??????????"), QByteArray(""));
    // A tag whose first digit is F is a tag, not an empty entry.
    EXPECT_EQ(DecodeStoreCode("?>=<;:9876"), QByteArray("FEDCBA9876"));
    EXPECT_EQ(DecodeStoreCode("?????"), QByteArray(""));
    EXPECT_EQ(DecodeStoreCode(""), QByteArray(""));
    EXPECT_EQ(PanelCharToHex('/'), QByteArray(""));
    EXPECT_EQ(PanelCharToHex('@'), QByteArray(""));
}

TEST(StoreCodes, RoomsEndAtTheFirstFiller)
{
    EXPECT_EQ(DecodeStoreRoom("4711??"), QByteArray("4711"));
    EXPECT_EQ(DecodeStoreRoom("123456"), QByteArray("123456"));
    EXPECT_EQ(DecodeStoreRoom("??????"), QByteArray(""));
    EXPECT_EQ(DecodeStoreRoom(QByteArray("12\xFF" "4??")), QByteArray("12"));
    EXPECT_EQ(packEntry("4711", "12ABCDEF90"), QByteArray("4711??12:;<=>?90"));
    EXPECT_EQ(packEntry("1234567", "0000000000"), QByteArray("1234560000000000"));
}

TEST(StoreCodes, ARecordLineHoldsFourEntriesAfterItsPrefix)
{
    const QByteArray line = "1408 4711??12:;<=>?90" + QByteArray(16, '?') + "12????0000000001" + "0012";
    const QList<Entry> e = entries(line);
    ASSERT_EQ(e.size(), 4);
    EXPECT_EQ(e.at(0).room, QByteArray("4711"));
    EXPECT_EQ(e.at(0).code, QByteArray("12ABCDEF90"));
    EXPECT_EQ(e.at(1).room, QByteArray(""));
    EXPECT_EQ(e.at(1).code, QByteArray(""));
    EXPECT_EQ(e.at(2).code, QByteArray("0000000001"));
    EXPECT_EQ(e.at(3).room, QByteArray("0012")); // cut off: no code
    EXPECT_EQ(e.at(3).code, QByteArray(""));
    EXPECT_EQ(entries("1408").size(), 4);
}

TEST(AssignedAddrList, AnEmptyAddrAlwaysCountsAsAssigned)
{
    AssignedAddrs assigned;
    EXPECT_EQ(assigned.counter(), 2);
    EXPECT_TRUE(assigned.IsAddrAssigned(""));
    EXPECT_FALSE(assigned.IsAddrAssigned("1000"));
    assigned.MarkAddrAssigned("1000");
    EXPECT_TRUE(assigned.IsAddrAssigned("1000"));
    EXPECT_EQ(assigned.counter(), 3);
    assigned.ClearAssignedAddrs();
    EXPECT_FALSE(assigned.IsAddrAssigned("1000"));
    EXPECT_TRUE(assigned.IsAddrAssigned(""));
    EXPECT_EQ(assigned.counter(), 2);
}

TEST(AssignedAddrList, MarkingStopsWhenEverySlotIsTaken)
{
    AssignedAddrs assigned;
    for (int i = 0; i < 999; ++i)
        assigned.MarkAddrAssigned(QByteArray::number(i, 16));
    EXPECT_EQ(assigned.counter(), 1001);
    assigned.MarkAddrAssigned("FFFF");
    EXPECT_FALSE(assigned.IsAddrAssigned("FFFF"));
    EXPECT_EQ(assigned.counter(), 1001);
    assigned.recordAppended("p1001");
    EXPECT_TRUE(assigned.IsAddrAssigned("p1001"));
    EXPECT_TRUE(assigned.IsAddrAssigned(""));
}
