#include "events/EventDecoder.h"
#include "events/EventFields.h"
#include "EventLines.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace EventDecoder;

TEST(EventRoom, RoomsAreOneDigitAByteUpToTheFirstFiller)
{
    EXPECT_EQ(DecodeEventRoom("04070101FFFF"), QByteArray("4711"));
    EXPECT_EQ(DecodeEventRoom("000102030405"), QByteArray("012345"));
    EXPECT_EQ(DecodeEventRoom("0F0102030405"), QByteArray(""));
    // Byte 255 ends the room as "F" does.
    QByteArray field = "0102";
    field.append(char(0x0A)).append(char(0xFF)).append("FFFFFF");
    EXPECT_EQ(DecodeEventRoom(field), QByteArray("12"));
}

TEST(EventRoom, MarkersAndShortFields)
{
    EXPECT_EQ(DecodeEventRoom("A003FFFFFFFF"), QByteArray("Butt.3"));
    EXPECT_EQ(DecodeEventRoom("B0FFFFFFFFFF"), QByteArray("InCall"));
    EXPECT_EQ(DecodeEventRoom("C01234567890"), QByteArray("error"));
    EXPECT_EQ(DecodeEventRoom("04070101FFF"), QByteArray("error"));
    EXPECT_EQ(DecodeEventRoom("A003"), QByteArray("error"));
    EXPECT_EQ(DecodeEventRoom(""), QByteArray("error"));
}

TEST(EventClockText, PairsAreDecimalNumbersOfTwoDigits)
{
    EXPECT_EQ(HexPairsToText("1F0C63", '/'), QByteArray("31/12/99"));
    EXPECT_EQ(HexPairsToText("0C0B17", '/'), QByteArray("12/11/23"));
    EXPECT_EQ(HexPairsToText("0E2D05", ':'), QByteArray("14:45:05"));
    EXPECT_EQ(HexPairsToText("640c0d", '/'), QByteArray("00/12/13")); // 100 keeps its last two digits
    EXPECT_EQ(HexPairsToText("FF0000", ':'), QByteArray("55:00:00"));
    EXPECT_EQ(HexPairsToText("1F0C6", '/'), QByteArray(""));
    EXPECT_EQ(HexPairsToText("1F0C6300", '/'), QByteArray(""));
    EXPECT_EQ(HexByteToDecimal("64", 2), QByteArray("00"));
    EXPECT_EQ(HexByteToDecimal("07", 4), QByteArray("0007"));
}

TEST(EventClockText, ANonHexadecimalPairIsAConversionErrorNotAValue)
{
    EXPECT_FALSE(HexPairsToText("1F0G63", '/'));
    EXPECT_FALSE(HexPairsToText(" 10C63", '/'));
    EXPECT_FALSE(HexByteToDecimal("", 2));
    EXPECT_FALSE(HexByteToDecimal("-1", 2));
}

TEST(EventLine, RoomEventTakesItsClientFromTheNameField)
{
    const std::optional<EventRow> row = decodeEventRow(EventLines::line(EventLines::room4711()), 7);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->Event, 7);
    EXPECT_EQ(row->RoomNumber, QByteArray("4711"));
    EXPECT_EQ(row->Date, QByteArray("12/11/26"));
    EXPECT_EQ(row->Time, QByteArray("14:45:05"));
    EXPECT_EQ(row->RlyNo, QByteArray("1"));
    EXPECT_EQ(row->Source, QByteArray("local"));
    EXPECT_EQ(row->Client, QByteArray("Ann Other       ")); // as sent, blanks and all
}

TEST(EventLine, MarkerEventsCopyTheRoomTextIntoTheClient)
{
    const auto button = decodeEventRow(EventLines::line(EventLines::button('3')), 1);
    const auto call = decodeEventRow(EventLines::line(EventLines::inCall()), 2);
    const auto error = decodeEventRow(EventLines::line(EventLines::errorEvent(), "0C0B1A", "0E2D05", '1', '0', "Ignored"), 3);
    ASSERT_TRUE(button && call && error);
    EXPECT_EQ(button->RoomNumber, QByteArray("Butt.3"));
    EXPECT_EQ(button->Client, QByteArray("Butt.3"));
    EXPECT_EQ(call->RoomNumber, QByteArray("InCall"));
    EXPECT_EQ(call->Client, QByteArray("InCall"));
    EXPECT_EQ(error->RoomNumber, QByteArray("error"));
    EXPECT_EQ(error->Client, QByteArray("error"));
}

TEST(EventLine, SourceCodes)
{
    const auto source = [](char code) {
        return decodeEventRow(EventLines::line(EventLines::room4711(), "0C0B1A", "0E2D05", '2', code), 1)->Source;
    };
    EXPECT_EQ(source('0'), QByteArray("local"));
    EXPECT_EQ(source('1'), QByteArray("Remote"));
    EXPECT_EQ(source('2'), QByteArray("RF-ID"));
    EXPECT_EQ(source('7'), QByteArray("Error"));
    EXPECT_EQ(source('a'), QByteArray("Error"));
}

TEST(EventLine, ShortLinesKeepWhatExists)
{
    const QByteArray full = EventLines::line(EventLines::room4711(), "1F0C63");
    // A line that ends before the name field has an empty client; one that
    // ends inside it keeps the part that arrived.
    const auto upToSource = decodeEventRow(full.left(37), 1);
    ASSERT_TRUE(upToSource);
    EXPECT_EQ(upToSource->Client, QByteArray(""));
    EXPECT_EQ(upToSource->Date, QByteArray("31/12/99"));
    const auto forty = decodeEventRow(full.left(40), 1);
    ASSERT_TRUE(forty);
    EXPECT_EQ(forty->Client, QByteArray("Ann"));

    const auto noSource = decodeEventRow(full.left(31), 1);
    ASSERT_TRUE(noSource);
    EXPECT_EQ(noSource->RlyNo, QByteArray("1"));
    EXPECT_EQ(noSource->Source, QByteArray("Error"));

    const auto noTime = decodeEventRow(full.left(26), 1);
    ASSERT_TRUE(noTime);
    EXPECT_EQ(noTime->Date, QByteArray("31/12/99"));
    EXPECT_EQ(noTime->Time, QByteArray(""));
    EXPECT_EQ(noTime->RlyNo, QByteArray(""));

    const auto cutRoom = decodeEventRow(full.left(12), 1);
    ASSERT_TRUE(cutRoom);
    EXPECT_EQ(cutRoom->RoomNumber, QByteArray("error"));
    EXPECT_EQ(cutRoom->Client, QByteArray(""));
    const auto cutButton = decodeEventRow(EventLines::line(EventLines::button('5')).left(9), 1);
    EXPECT_EQ(cutButton->Client, QByteArray("error"));

    const auto empty = decodeEventRow("", 1);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->values(), (QList<QByteArray>{"1", "error", "", "", "", "Error", ""}));
}

TEST(EventLine, ANonHexadecimalDateOrTimeAppendsNothing)
{
    Table table;
    DefineEventTable(table);
    table.open();
    EXPECT_TRUE(DecodeEventLine(table, EventLines::line(EventLines::room4711()), 1));
    EXPECT_FALSE(DecodeEventLine(table, EventLines::line(EventLines::room4711(), "0C0B1A", "0E2DZZ"), 2));
    EXPECT_FALSE(DecodeEventLine(table, EventLines::line(EventLines::room4711(), "0C0 1A"), 3));
    EXPECT_EQ(table.count(), 1);
}

TEST(EventLine, FieldsAreTypedAndCutToTheirWidths)
{
    Table table;
    DefineEventTable(table);
    table.open();
    QByteArray longName = EventLines::line(EventLines::room4711()).left(37) + "A name far longer than sixteen";
    ASSERT_TRUE(DecodeEventLine(table, longName, 12));
    EXPECT_EQ(table.value(0, EventFields::Client), QByteArray("A name far longe"));
    EXPECT_EQ(table.value(0, EventFields::Event), QByteArray("12"));
    EXPECT_EQ(table.fields().at(0).type, Table::FieldType::Integer);
    QList<QByteArray> names;
    for (const Table::Field &f : table.fields())
        names << f.name;
    EXPECT_EQ(names, (QList<QByteArray>{"Event", "RoomNumber", "Date", "Time", "RlyNo", "Source", "Client"}));
}

// Whatever a panel or a noisy line delivers, decoding ends with a row or a
// refusal, and every row fits its fields.
TEST(EventLine, RandomLinesNeverBreakTheDecoder)
{
    QRandomGenerator random(20261231);
    Table table;
    DefineEventTable(table);
    table.open();
    static const char raw[] = "0123456789ABCDEFabcdefABC F?:\xFF\x00\r\n";
    const QByteArray alphabet(raw, sizeof(raw) - 1);
    for (int i = 0; i < 20000; ++i) {
        QByteArray line;
        const int length = random.bounded(80);
        const bool anyByte = random.bounded(2) == 0;
        for (int c = 0; c < length; ++c)
            line.append(anyByte ? char(random.bounded(256)) : alphabet.at(random.bounded(int(alphabet.size()))));
        const std::optional<EventRow> row = decodeEventRow(line, i);
        if (!row)
            continue;
        EXPECT_LE(row->RoomNumber.size(), 6);
        EXPECT_TRUE(row->Date.isEmpty() || row->Date.size() == 8);
        EXPECT_TRUE(row->Time.isEmpty() || row->Time.size() == 8);
        EXPECT_LE(row->RlyNo.size(), 1);
        EXPECT_LE(row->Client.size(), 16);
        DecodeEventLine(table, line, i);
    }
    EXPECT_GT(table.count(), 0);
}
