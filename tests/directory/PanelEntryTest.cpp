#include "directory/PanelEntry.h"

#include <gtest/gtest.h>

TEST(ParsePanelEntry, FieldsEndAtCommasAndFillersAreDropped)
{
    const PanelEntry e = ParsePanelEntry("1020 101,1234,5678,12,0123:;<9????????,Smith J");
    EXPECT_EQ(e.SlotAddress, QByteArray("1020"));
    EXPECT_EQ(e.RoomNumber, QByteArray("101"));
    EXPECT_EQ(e.Code1, QByteArray("1234"));
    EXPECT_EQ(e.Code2, QByteArray("5678"));
    EXPECT_EQ(e.Spare, QByteArray("12"));
    EXPECT_EQ(e.PHnumber, QByteArray("0123*#p9"));
    EXPECT_EQ(e.Name, QByteArray("Smith J"));
}

TEST(ParsePanelEntry, AFullWidthFieldSkipsTheNextCharacterUnseen)
{
    const PanelEntry six = ParsePanelEntry("1000 123456,1,2,3,44??????????????,Six");
    EXPECT_EQ(six.RoomNumber, QByteArray("123456"));
    EXPECT_EQ(six.Code1, QByteArray("1"));
    EXPECT_EQ(six.Name, QByteArray("Six"));

    // The seventh digit is taken as the separator; Code1 starts at the ","
    // and the later fields shift.
    const PanelEntry seven = ParsePanelEntry("1000 1234567,1,2,3,44,Seven");
    EXPECT_EQ(seven.RoomNumber, QByteArray("123456"));
    EXPECT_EQ(seven.Code1, QByteArray());
    EXPECT_EQ(seven.Code2, QByteArray("1"));
    EXPECT_EQ(seven.Spare, QByteArray("2"));
    EXPECT_EQ(seven.PHnumber, QByteArray("3"));
    EXPECT_EQ(seven.Name, QByteArray("44"));
}

TEST(ParsePanelEntry, NameStopsAtACommaOrSixteenCharacters)
{
    EXPECT_EQ(ParsePanelEntry("1000 1,,,,,Smith, John").Name, QByteArray("Smith"));
    EXPECT_EQ(ParsePanelEntry("1000 1,,,,,ABCDEFGHIJKLMNOPQ").Name, QByteArray("ABCDEFGHIJKLMNOP"));
}

TEST(ParsePanelEntry, ShortLinesGiveEmptyFields)
{
    const PanelEntry slot = ParsePanelEntry("1000 ");
    EXPECT_EQ(slot.SlotAddress, QByteArray("1000"));
    EXPECT_TRUE(slot.RoomNumber.isEmpty());
    EXPECT_TRUE(slot.Name.isEmpty());
    const PanelEntry tiny = ParsePanelEntry("10");
    EXPECT_EQ(tiny.SlotAddress, QByteArray("10"));
    EXPECT_TRUE(tiny.RoomNumber.isEmpty());
    EXPECT_TRUE(ParsePanelEntry("").SlotAddress.isEmpty());
    EXPECT_EQ(ParsePanelEntry("1000 12").RoomNumber, QByteArray("12"));
}

TEST(PanelEntryText, PreparesEachFieldAndAddsNothing)
{
    EXPECT_EQ(PanelEntryText("101", "1234", "", "12", "*1#p", "Smith"), QByteArray("101,1234,,12,:1;<,Smith"));
    EXPECT_EQ(PanelEntryText("1234567", "12345", "9x", "123", "012-345", "N"), QByteArray("123456,1234,9,12,012,N"));
    EXPECT_EQ(PanelEntryText("", "", "", "", "", ""), QByteArray(",,,,,"));
    const QByteArray longest = PanelEntryText("123456", "1234", "1234", "12", "1234567890123456", "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(longest.size(), 53);
    // A CR would end the command and start another one.
    EXPECT_EQ(PanelEntryText("1", "", "", "", "", QByteArray("ab\rf5a")), QByteArray("1,,,,,ab"));
}

TEST(PanelEntryText, ReadsBackThroughTheParser)
{
    const QByteArray text = PanelEntryText("4711", "12", "34", "5", "0*9#p", "Brown");
    const PanelEntry e = ParsePanelEntry("1000 " + text);
    EXPECT_EQ(e.RoomNumber, QByteArray("4711"));
    EXPECT_EQ(e.Code1, QByteArray("12"));
    EXPECT_EQ(e.Code2, QByteArray("34"));
    EXPECT_EQ(e.Spare, QByteArray("5"));
    EXPECT_EQ(e.PHnumber, QByteArray("0*9#p"));
    EXPECT_EQ(e.Name, QByteArray("Brown"));
}
