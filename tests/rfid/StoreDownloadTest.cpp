#include "Directory.h"
#include "StorePanel.h"
#include "rfid/RfidDownload.h"
#include "support/AppHarness.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

class StoreDownload : public ::testing::Test
{
protected:
    StoreDownload() { h.logOn(); }

    RfidDownload::Outcome run() { return download.download_idClick(); }

    AppHarness h;
    StorePanel panel{h.port};
    RfidDownload download{h.ctx};
};

TEST_F(StoreDownload, CodesGoToTheRoomsEntriesInTableOrderThenToNewEntries)
{
    PhoneDirectory &d = h.directory;
    Directory::add(d, "Zoe", "4711", "0000000009", "1000"); // an old code, emptied first
    Directory::add(d, "Bob", "12", "", "1020");
    Directory::add(d, "Adam", "4711", "", "1040");
    Directory::add(d, "Dee", "0012", "", "1060");
    Directory::add(d, "Eve", "77", "1111111111", "1080");
    d.PhoneTable.sortOn("Name", Qt::CaseInsensitive); // Adam, Bob, Dee, Eve, Zoe
    panel.records[1408] = "4711??000000000:" "4711??000000000;" "4711??000000000<" "12????0000000004";

    EXPECT_EQ(run(), RfidDownload::Outcome::Completed);
    EXPECT_EQ(Directory::value(d, "Adam", "RFID"), QByteArray("000000000A"));
    EXPECT_EQ(Directory::value(d, "Zoe", "RFID"), QByteArray("000000000B"));
    EXPECT_EQ(Directory::value(d, "Bob", "RFID"), QByteArray("0000000004"));
    EXPECT_EQ(Directory::value(d, "Dee", "RFID"), QByteArray("")); // 0012 is not 12
    EXPECT_EQ(Directory::value(d, "Eve", "RFID"), QByteArray(""));
    // The third code of 4711 has no entry left: a new one with the room,
    // the code and "p" + the counter (two codes were assigned before it).
    ASSERT_EQ(d.PhoneTable.count(), 6);
    const int added = d.PhoneTable.find("Addr", "p4");
    ASSERT_GE(added, 0);
    EXPECT_EQ(d.PhoneTable.row(added), (QList<QByteArray>{"", "4711", "", "", "", "", "000000000C", "p4"}));
    EXPECT_EQ(download.assignedAddrs().counter(), 6);
}

TEST_F(StoreDownload, AnAllBlankStoreAddsNothingAndEmptiesTheDirectorysCodes)
{
    Directory::add(h.directory, "Ann", "4711", "0123456789", "1000");
    panel.records[1409] = QByteArray(64, '?');
    panel.records[1410] = "??????0123456789" + QByteArray(48, '?'); // a code without a room
    panel.records[1411] = "4711??" + QByteArray(58, '?');            // a room without a code
    EXPECT_EQ(run(), RfidDownload::Outcome::Completed);
    EXPECT_EQ(h.directory.PhoneTable.count(), 1);
    EXPECT_EQ(Directory::value(h.directory, "Ann", "RFID"), QByteArray(""));
}

TEST_F(StoreDownload, AnEntryWithoutAddrNeverReceivesACode)
{
    Directory::add(h.directory, "NoSlot", "55", "", "");
    panel.records[1408] = "55????0123456789" + QByteArray(48, '?');
    EXPECT_EQ(run(), RfidDownload::Outcome::Completed);
    EXPECT_EQ(Directory::value(h.directory, "NoSlot", "RFID"), QByteArray(""));
    ASSERT_EQ(h.directory.PhoneTable.count(), 2);
    EXPECT_EQ(h.directory.PhoneTable.value(h.directory.PhoneTable.find("Addr", "p2"), "RFID"), QByteArray("0123456789"));
}

TEST_F(StoreDownload, AnEmptyDirectoryIsSetUpAfreshWithAnEntryPerCode)
{
    QSignalSpy defined(&h.directory, &PhoneDirectory::phoneGridSetupRequested);
    h.directory.PhoneTable.sortOn("Name", Qt::CaseInsensitive);
    panel.records[1408] = "1?????0123456789" "2?????9876543210" + QByteArray(32, '?');
    panel.records[1535] = "3?????::::::::::" + QByteArray(48, '?');
    EXPECT_EQ(run(), RfidDownload::Outcome::Completed);
    EXPECT_EQ(defined.count(), 1);
    const Table &table = h.directory.PhoneTable;
    EXPECT_EQ(table.sortField(), -1);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.row(0).mid(6), (QList<QByteArray>{"0123456789", "p2"}));
    EXPECT_EQ(table.row(1).mid(6), (QList<QByteArray>{"9876543210", "p3"}));
    EXPECT_EQ(table.row(2).mid(6), (QList<QByteArray>{"AAAAAAAAAA", "p4"}));
    EXPECT_EQ(table.position(), 1);
}

TEST_F(StoreDownload, EndsSyncedWithEverythingRestored)
{
    QSignalSpy allowed(&h.directory, &PhoneDirectory::saveCommandsAllowed);
    panel.records[1408] = "1?????0123456789" + QByteArray(48, '?');
    EXPECT_EQ(run(), RfidDownload::Outcome::Completed);
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"s14081535"});
    EXPECT_TRUE(h.link.conn().DirectorySynced);
    EXPECT_TRUE(h.directory.writeEachChangeEnabled());
    EXPECT_TRUE(h.directory.PhoneFileSaveAllowed());
    EXPECT_EQ(allowed.count(), 1);
    EXPECT_FALSE(h.directory.TableLoading);
    EXPECT_FALSE(h.link.rx().EchoSuppressed);
    EXPECT_FALSE(h.directory.PhoneTable.controlsDisabled());
    EXPECT_EQ(h.feedback.events,
              (QStringList{"show", "busy", "blink", "keepalive off", "hide", "idle", "steady", "keepalive on", "led 21"}));
    // The whole reply is in the memo once, at the end.
    EXPECT_EQ(h.link.RxMemo().lineCount(), 130);
    EXPECT_EQ(h.link.RxMemo().line(1), "1408 1?????0123456789" + QByteArray(48, '?'));
}

TEST_F(StoreDownload, NoReplyIsACommunicationErrorAndTheDirectoryStays)
{
    Directory::add(h.directory, "Ann", "4711", "0123456789", "1000");
    panel.silent = true;
    EXPECT_EQ(run(), RfidDownload::Outcome::CommunicationError);
    EXPECT_EQ(h.prompt.messages, QStringList{"communication error"});
    EXPECT_EQ(Directory::value(h.directory, "Ann", "RFID"), QByteArray("0123456789"));
    EXPECT_FALSE(h.directory.PhoneFileSaveAllowed());
    EXPECT_TRUE(h.link.conn().DirectorySynced);
    EXPECT_TRUE(h.directory.writeEachChangeEnabled());
    EXPECT_FALSE(h.directory.TableLoading);
    // 100 polls of 86.4 ms after "s14081535".
    const QList<qint32> &waits = h.waiter.waits();
    EXPECT_EQ(waits.count(100), 100);
    EXPECT_EQ(h.feedback.events.last(), QStringLiteral("led 21"));
}

// Entries appended by an earlier download keep their codes when a new code
// comes first in the store: its entry does not take an Addr already in use.
TEST_F(StoreDownload, ASecondDownloadKeepsEarlierAppendedEntries)
{
    panel.records[1408] = "1?????0000000001" "2?????0000000002" + QByteArray(32, '?');
    ASSERT_EQ(run(), RfidDownload::Outcome::Completed);
    Table &table = h.directory.PhoneTable;
    ASSERT_EQ(table.count(), 2);
    table.moveTo(0);
    table.setField("Name", "Resident one");
    table.post();

    panel.records[1408] = "3?????0000000003" "1?????0000000001" "2?????0000000002" + QByteArray(16, '?');
    ASSERT_EQ(run(), RfidDownload::Outcome::Completed);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(Directory::value(h.directory, "Resident one", "RFID"), QByteArray("0000000001"));
    EXPECT_EQ(table.value(table.find("RoomNumber", "2"), "RFID"), QByteArray("0000000002"));
    EXPECT_EQ(table.value(table.find("RoomNumber", "3"), "Addr"), QByteArray("p4"));
}

TEST_F(StoreDownload, DoesNothingWhileAnotherExchangeRuns)
{
    ExchangeGuard::Scope other(h.guard);
    EXPECT_EQ(run(), RfidDownload::Outcome::Busy);
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_FALSE(h.link.conn().DirectorySynced);
}

TEST_F(StoreDownload, AnOkWithoutASingleRecordLineIsACommunicationErrorAndTheCodesStay)
{
    Directory::add(h.directory, "Ann", "4711", "0123456789", "1000");
    for (const QByteArray &reply : {QByteArray("OK\r\n"), QByteArray("\r\nOK\r\n"), QByteArray("s14081535\r\nOK\r\n")}) {
        h.prompt.messages.clear();
        h.port.setResponder([reply](const QByteArray &) { return reply; });
        EXPECT_EQ(run(), RfidDownload::Outcome::CommunicationError);
        EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("communication error")});
        ASSERT_EQ(h.directory.PhoneTable.count(), 1);
        EXPECT_EQ(Directory::value(h.directory, "Ann", "RFID"), QByteArray("0123456789"));
        EXPECT_FALSE(h.directory.TableLoading);
    }
}
