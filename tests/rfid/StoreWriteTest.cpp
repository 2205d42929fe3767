#include "Directory.h"
#include "StorePanel.h"
#include "rfid/RfidDownload.h"
#include "rfid/RfidWriteAll.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

namespace {
const QString kFailed = QStringLiteral("there was an error saving the codes,\r\nPlease try again");
const QString kLimit = QStringLiteral("NB could not save all codes\r\nMaximum is 512 RF-ID's.");
} // namespace

class StoreWrite : public ::testing::Test
{
protected:
    StoreWrite() { h.logOn(); }

    void addCodes(int n)
    {
        for (int i = 1; i <= n; ++i)
            Directory::add(h.directory, "R" + QByteArray::number(i), QByteArray::number(i), Directory::code(i),
                           QByteArray::number(0x1000 + 0x20 * i, 16));
    }
    RfidWriteAll::Outcome run() { return write.writeall_idClick(); }

    AppHarness h;
    StorePanel panel{h.port};
    RfidWriteAll write{h.ctx};
};

TEST_F(StoreWrite, AnEmptyDirectoryErasesTheStoreAndWritesNothing)
{
    panel.records[1408] = "1?????0123456789" + QByteArray(48, '?');
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"c1418"});
    EXPECT_EQ(panel.records[1408], StorePanel::blank());
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(h.feedback.events,
              (QStringList{"show", "busy", "blink", "keepalive off", "hide", "idle", "steady", "keepalive on", "led 21"}));
    EXPECT_FALSE(h.directory.TableLoading);
    EXPECT_FALSE(h.link.rx().EchoSuppressed);
}

TEST_F(StoreWrite, FiveCodesFillOneRecordAndStartTheNext)
{
    addCodes(5);
    Directory::add(h.directory, "No code", "6", "", "10E0");
    Directory::add(h.directory, "No room", "", Directory::code(7), "1100");
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(panel.records[1408], "1?????:000000001" "2?????:000000002" "3?????:000000003" "4?????:000000004");
    EXPECT_EQ(panel.records[1409], "5?????:000000005" + QByteArray(48, '?'));
    EXPECT_EQ(panel.records[1410], StorePanel::blank());
    EXPECT_EQ(panel.commandsStartingWith('g'), (QList<QByteArray>{"g1408", "g1409"}));
    EXPECT_EQ(panel.commandsStartingWith('r'), (QList<QByteArray>{"r1408", "r1409"}));
    EXPECT_TRUE(panel.commandsStartingWith('p').isEmpty());
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(h.directory.PhoneTable.count(), 7); // the directory does not change
}

TEST_F(StoreWrite, TheCurrentOrderDecidesThePacking)
{
    addCodes(3);
    h.directory.PhoneTable.sortOn("Name", Qt::CaseInsensitive);
    Table &table = h.directory.PhoneTable;
    table.moveTo(table.find("Name", "R2"));
    table.setField("Name", "A first");
    table.post();
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_TRUE(panel.records[1408].startsWith("2?????:000000002" "1?????:000000001" "3?????"));
}

TEST_F(StoreWrite, ACodeOfTheWrongLengthStopsBeforeAnythingIsSent)
{
    addCodes(3);
    Table &table = h.directory.PhoneTable;
    table.moveTo(1);
    table.setField("RFID", "012345678");
    table.post();
    table.moveTo(2);
    EXPECT_EQ(run(), RfidWriteAll::Outcome::BadCode);
    EXPECT_EQ(h.prompt.messages,
              QStringList{"Note, the current record has\r\nincorrect RFID data format.\r\nrescan or erase the code."});
    EXPECT_EQ(table.position(), 2);
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_TRUE(h.feedback.events.isEmpty());
}

// A lower-case code (from an older file) goes to the panel in its form, as
// the upper-case one does.
TEST_F(StoreWrite, LowerCaseHexadecimalDigitsAreConvertedToo)
{
    Directory::add(h.directory, "Low", "8", "abcdef0123", "1000");
    Directory::add(h.directory, "Up", "9", "ABCDEF0123", "1020");
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(panel.records[1408], "8?????:;<=>?0123" "9?????:;<=>?0123" + QByteArray(32, '?'));
}

TEST_F(StoreWrite, FiveHundredAndTwelveCodesFillTheStoreExactly)
{
    addCodes(512);
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(panel.commandsStartingWith('g').size(), 128);
    EXPECT_EQ(panel.records[1535], "509???:0000001?=" "510???:0000001?>" "511???:0000001??" "512???:000000200");
}

TEST_F(StoreWrite, TheFiveHundredAndThirteenthCodeGetsTheLimitNote)
{
    addCodes(513);
    EXPECT_EQ(run(), RfidWriteAll::Outcome::LimitReached);
    EXPECT_EQ(h.prompt.messages, QStringList{kLimit});
    EXPECT_EQ(panel.commandsStartingWith('g').size(), 128);
    EXPECT_EQ(panel.commandsStartingWith('g').last(), QByteArray("g1535"));
    EXPECT_EQ(h.feedback.events.last(), QStringLiteral("led 21"));
}

TEST_F(StoreWrite, AnUncodedTailAfterTheLastRecordNeedsNoNote)
{
    addCodes(512);
    Directory::add(h.directory, "Tail", "999", "", "9000");
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

// While the echo is still suppressed a refusal cannot be read from the memo:
// the record reads back blank and the next try follows.
TEST_F(StoreWrite, ARefusedStoreIsTriedAgain)
{
    addCodes(1);
    panel.refuseG = 2;
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(panel.commandWords.mid(1), (QList<QByteArray>{"g1408", "r1408", "g1408", "r1408", "g1408", "r1408"}));
    EXPECT_TRUE(panel.records[1408].startsWith("1?????:000000001"));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(StoreWrite, OnceTheEchoIsBackARefusalIsSeenAsError)
{
    addCodes(5);
    panel.refuseG = 0;
    // Record 1408 goes through and brings the echo back; 1409 is refused once.
    int gSeen = 0;
    h.port.setResponder([&](const QByteArray &c) {
        if (c.startsWith('g') && ++gSeen == 2)
            panel.refuseG = 1;
        return panel.answer(c);
    });
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(panel.commandWords.mid(1),
              (QList<QByteArray>{"g1408", "r1408", "g1409", "g1409", "r1409"}));
}

TEST_F(StoreWrite, AReadBackThatDiffersIsProgrammed)
{
    addCodes(1);
    panel.garbleG = {1408};
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(panel.commandWords.mid(1), (QList<QByteArray>{"g1408", "r1408", "p1408", "r1408"}));
    EXPECT_TRUE(panel.records[1408].startsWith("1?????:000000001"));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(StoreWrite, ARecordThatCannotBeProgrammedIsCountedAndReported)
{
    addCodes(5);
    panel.garbleG = {1409};
    panel.refusePFirstLine = 2;
    EXPECT_EQ(run(), RfidWriteAll::Outcome::SomeFailed);
    EXPECT_EQ(write.failureCount(), 1);
    EXPECT_EQ(h.prompt.messages, QStringList{kFailed});
    // A refused "p" is seen as such: both tries are made, nothing is read
    // back, and the record (as the garbled "g" left it) counts as failed.
    EXPECT_EQ(panel.commandWords.mid(3), (QList<QByteArray>{"g1409", "r1409", "p1409", "p1409"}));
}

// "Error" followed by "OK" is a refusal all the same: the record, as the
// garbled "g" left it, counts as failed.
TEST_F(StoreWrite, AProgramRefusedWithErrorThenOkCountsAsFailed)
{
    addCodes(1);
    panel.garbleG = {1408};
    panel.refusePWithOk = 2;
    EXPECT_EQ(run(), RfidWriteAll::Outcome::SomeFailed);
    EXPECT_EQ(write.failureCount(), 1);
    EXPECT_EQ(h.prompt.messages, QStringList{kFailed});
    EXPECT_EQ(panel.commandWords.mid(1), (QList<QByteArray>{"g1408", "r1408", "p1408", "p1408"}));
}

// A panel that stops answering after the erase must not look like success.
TEST_F(StoreWrite, APanelThatFallsSilentStopsTheWriteAsALostLineWithinSeconds)
{
    addCodes(40); // ten records
    panel.silentAfterErase = true;
    const qint64 start = h.elapsedTicks();
    EXPECT_EQ(run(), RfidWriteAll::Outcome::LineLost);
    // Three tries of the first record without a byte back, then no more.
    EXPECT_EQ(panel.commandsStartingWith('g').size(), 3);
    EXPECT_LT((h.elapsedTicks() - start) * Waiter::kTickNs, 5000000000LL);
    EXPECT_EQ(write.failureCount(), 1);
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("The Corvalen stopped answering: no reply came to the last writes.\r\n"
                                         "Write All did not finish: 0 record(s) of RFID codes written.")});
    EXPECT_FALSE(h.link.rx().EchoSuppressed);
    EXPECT_FALSE(h.directory.TableLoading);
}

TEST_F(StoreWrite, NoOkToTheEraseIsACommunicationError)
{
    addCodes(2);
    panel.silent = true;
    EXPECT_EQ(run(), RfidWriteAll::Outcome::CommunicationError);
    EXPECT_EQ(h.prompt.messages, QStringList{"communication error"});
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{"c1418"});
    EXPECT_EQ(h.waiter.waits().count(100), 50);
    EXPECT_FALSE(h.directory.TableLoading);
    EXPECT_TRUE(h.feedback.keepAlive);
}

TEST_F(StoreWrite, WhatIsWrittenComesBackWithTheSameResidents)
{
    Directory::add(h.directory, "Ann", "4711", "0123ABCDEF", "1000");
    Directory::add(h.directory, "Bob", "4711", "abcdef0123", "1020");
    Directory::add(h.directory, "Cy", "12", "EDCBA98765", "1040");
    Directory::add(h.directory, "Dee", "13", "", "1060");
    ASSERT_EQ(run(), RfidWriteAll::Outcome::Completed);

    RfidDownload download(h.ctx);
    ASSERT_EQ(download.download_idClick(), RfidDownload::Outcome::Completed);
    EXPECT_EQ(h.directory.PhoneTable.count(), 4);
    EXPECT_EQ(Directory::value(h.directory, "Ann", "RFID"), QByteArray("0123ABCDEF"));
    EXPECT_EQ(Directory::value(h.directory, "Cy", "RFID"), QByteArray("EDCBA98765"));
    EXPECT_EQ(Directory::value(h.directory, "Dee", "RFID"), QByteArray(""));
    // Lower case from an older file went in the panel's form and comes back
    // whole, in upper case.
    EXPECT_EQ(Directory::value(h.directory, "Bob", "RFID"), QByteArray("ABCDEF0123"));
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Completed); // and the next Write All takes it
}

// A log-off (or a lost line) during the write ends it after the record
// being written, telling how far it got, instead of trying every record
// left on a line that is gone.
TEST_F(StoreWrite, AConnectionThatEndsStopsTheWriteAfterTheRecordBeingWritten)
{
    addCodes(9);
    h.port.setResponder([this](const QByteArray &c) {
        if (c.startsWith("g1409"))
            h.link.conn().LoggedOn = false;
        return panel.answer(c);
    });
    EXPECT_EQ(run(), RfidWriteAll::Outcome::Unfinished);
    EXPECT_EQ(panel.commandsStartingWith('g'), (QList<QByteArray>{"g1408", "g1409"}));
    EXPECT_EQ(panel.records[1410], StorePanel::blank());
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("Write All did not finish,\r\nrecords 1408 to 1409 written.")});
}
