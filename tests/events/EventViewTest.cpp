#include "events/EventDecoder.h"
#include "events/EventDetails.h"
#include "events/EventFields.h"
#include "events/EventFile.h"
#include "events/EventLog.h"
#include "events/EventSort.h"
#include "EventLines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Four events as a download leaves them: numbered in arrival order.
void fill(Table &table)
{
    DefineEventTable(table);
    table.open();
    DecodeEventLine(table, EventLines::line("0200FFFFFFFF", "0C0B1A", "0E2D05", '1', '0', "Zed"), 1);
    DecodeEventLine(table, EventLines::line("010000FFFFFF", "010B1A", "172D05", '2', '1', "Bob"), 2);
    DecodeEventLine(table, EventLines::line(EventLines::button('3'), "1F0C19", "000000", '1', '0'), 3);
    DecodeEventLine(table, EventLines::line("0400FFFFFFFF", "0C0B1A", "0E2D06", '1', '2', "Amy"), 4);
    table.first();
}

QList<QByteArray> column(const Table &table, const char *field)
{
    QList<QByteArray> values;
    for (int r = 0; r < table.count(); ++r)
        values << table.value(r, field);
    return values;
}
} // namespace

TEST(EventSorting, NothingHappensBeforeADownload)
{
    Table table;
    EXPECT_FALSE(DBGrid2TitleClick(table, "RoomNumber"));
    EXPECT_FALSE(table.isOpen());
}

TEST(EventSorting, DateAndTimeSortByTheEventNumber)
{
    Table table;
    fill(table);
    ASSERT_TRUE(DBGrid2TitleClick(table, "RoomNumber"));
    ASSERT_TRUE(DBGrid2TitleClick(table, "Date"));
    EXPECT_EQ(column(table, EventFields::Event), (QList<QByteArray>{"1", "2", "3", "4"}));
    ASSERT_TRUE(DBGrid2TitleClick(table, "RoomNumber"));
    ASSERT_TRUE(DBGrid2TitleClick(table, "Time"));
    EXPECT_EQ(column(table, EventFields::Event), (QList<QByteArray>{"1", "2", "3", "4"}));
}

TEST(EventSorting, TextColumnsSortAsTextAndTheFirstRowBecomesCurrent)
{
    Table table;
    fill(table);
    table.last();
    ASSERT_TRUE(DBGrid2TitleClick(table, "RoomNumber"));
    // "100" before "20" before "40": text, not numbers.
    EXPECT_EQ(column(table, EventFields::RoomNumber), (QList<QByteArray>{"100", "20", "40", "Butt.3"}));
    EXPECT_EQ(table.position(), 1);
}

TEST(EventSorting, EventNumberSortsByValue)
{
    Table table;
    DefineEventTable(table);
    table.open();
    for (int n : {10, 9, 100})
        DecodeEventLine(table, EventLines::line(EventLines::room4711()), n);
    ASSERT_TRUE(DBGrid2TitleClick(table, "Event"));
    EXPECT_EQ(column(table, EventFields::Event), (QList<QByteArray>{"9", "10", "100"}));
}

TEST(EventDetailsBox, ShowsTheCurrentRowWithItsPlaceInTheCurrentOrder)
{
    Table table;
    EXPECT_EQ(EventTableAfterScroll(table), EventDetails{});
    fill(table);
    ASSERT_TRUE(DBGrid2TitleClick(table, "Client"));
    const EventDetails first = EventTableAfterScroll(table);
    EXPECT_EQ(first.E_Numb, QByteArray("1"));
    EXPECT_NE(table.field(EventFields::Event), QByteArray("1"));
    EXPECT_EQ(first.E_Client, table.field(EventFields::Client));
    table.next();
    const EventDetails second = EventTableAfterScroll(table);
    EXPECT_EQ(second.E_Numb, QByteArray("2"));
    EXPECT_EQ(second.E_Room, table.field(EventFields::RoomNumber));
    EXPECT_EQ(second.E_relay, table.field(EventFields::RlyNo));
    EXPECT_EQ(second.E_source, table.field(EventFields::Source));
    EXPECT_EQ(second.E_time, table.field(EventFields::Time));
    EXPECT_EQ(second.E_date, table.field(EventFields::Date));
}

TEST(EventFileFormat, ClockLinesThenTheTableInItsCurrentOrder)
{
    EventLog log;
    fill(log.EventTable);
    log.clock.setStime("14:45:13");
    log.clock.setSdate("12/11/26");
    log.clock.setCtime("14:46:00");
    log.clock.setCdate("12/11/2026");
    DBGrid2TitleClick(log.EventTable, "Client");

    QTemporaryDir dir;
    const QString name = dir.filePath("Events.Evt");
    QString error;
    ASSERT_TRUE(EventFile::save(name, log, &error)) << error.toStdString();
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_TRUE(content.endsWith("\r\n"));
    const QList<QByteArray> lines = content.split('\n');
    ASSERT_EQ(lines.size(), 8); // seven lines and the empty rest after the last CR LF
    EXPECT_EQ(lines.at(0), QByteArray("Corvalen time when saved was: 14:45:13  12/11/26\r"));
    EXPECT_EQ(lines.at(1), QByteArray("Current time when Loaded was: 14:46:00  12/11/2026\r"));
    EXPECT_EQ(lines.at(2), QByteArray("Event,RoomNumber,Date,Time,RlyNo,Source,Client\r"));
    // Sorted by Client.
    EXPECT_EQ(lines.at(3), QByteArray("4,40,12/11/26,14:45:06,1,RF-ID,Amy             \r"));
    EXPECT_TRUE(lines.at(4).startsWith("2,100,01/11/26,23:45:05,2,Remote,Bob "));
    EXPECT_EQ(lines.at(5), QByteArray("3,Butt.3,31/12/25,00:00:00,1,local,Butt.3\r"));
    EXPECT_TRUE(lines.at(6).startsWith("1,20,12/11/26,14:45:05,1,local,Zed "));
}

TEST(EventFileFormat, TheInitialClockFieldsGoIntoTheHeader)
{
    EventLog log;
    QByteArray header;
    EventFile::WriteEventFileHeader(header, log.clock);
    EXPECT_EQ(header, QByteArray("Corvalen time when saved was: 00:00:00  00/00\r\n"
                                 "Current time when Loaded was: 00:00:00  00/00/00\r\n"));
}

TEST(EventFileFormat, AFileThatCannotBeCreatedIsReportedAndNothingIsWritten)
{
    EventLog log;
    fill(log.EventTable);
    QTemporaryDir dir;
    const QString name = dir.filePath("missing/Events.Evt");
    QString error;
    EXPECT_FALSE(EventFile::save(name, log, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot create file %1").arg(name));
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}
