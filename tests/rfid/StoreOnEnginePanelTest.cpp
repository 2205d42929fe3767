// Write All and DownLoad against the virtual panel's engine on virtual time:
// the panel's own store, its own replies and its own faults.
#include "Directory.h"
#include "PanelLines.h"
#include "rfid/RfidDownload.h"
#include "rfid/RfidEntryActions.h"
#include "rfid/RfidWriteAll.h"
#include "rfid/TagReader.h"
#include "support/AppHarness.h"
#include "support/EnginePanel.h"

#include <gtest/gtest.h>

namespace {
const QString kFailed = QStringLiteral("there was an error saving the codes,\r\nPlease try again");
const QString kLimit = QStringLiteral("NB could not save all codes\r\nMaximum is 512 RF-ID's.");
const QByteArray kBlank(64, '?');

// A table code in panel form, worked out here: A-F become ":" to "?".
QByteArray panelForm(QByteArray code)
{
    for (char &c : code)
        if (c >= 'A' && c <= 'F')
            c = char(c - 7);
    return code;
}

// Record r as Write All should leave it for the entries numbered 1..n
// (room i, code i), packed four to a record.
QByteArray expectedRecord(int r, int n)
{
    QByteArray text;
    for (int i = 4 * (r - 1408) + 1; i <= qMin(n, 4 * (r - 1408) + 4); ++i)
        text += QByteArray::number(i).leftJustified(6, '?') + panelForm(Directory::code(i));
    return text.leftJustified(64, '?');
}

struct SilentBeeper : Beeper
{
    void beep() override {}
};

int count(const QList<QByteArray> &commands, char word)
{
    int n = 0;
    for (const QByteArray &c : commands)
        n += c.startsWith(word);
    return n;
}
} // namespace

class StoreOnEngine : public ::testing::Test
{
protected:
    StoreOnEngine()
    {
        h.logOnWithPin();
        EXPECT_TRUE(panel.engine().loggedOn());
    }

    void addCodes(int n)
    {
        for (int i = 1; i <= n; ++i)
            Directory::add(h.directory, "R" + QByteArray::number(i), QByteArray::number(i), Directory::code(i),
                           QByteArray::number(0x1000 + 0x20 * i, 16).toUpper());
    }
    RfidWriteAll::Outcome writeAll() { return write.writeall_idClick(); }
    PanelMemory &memory() { return panel.memory(); }
    // The command word and record number of every command after the erase.
    QList<QByteArray> commandsAfterErase() const
    {
        QList<QByteArray> out;
        for (const QByteArray &c : h.port.commands().mid(1))
            out << c.left(5);
        return out;
    }

    AppHarness h;
    EnginePanel panel{h.port};
    RfidWriteAll write{h.ctx};
};

TEST_F(StoreOnEngine, FiveHundredAndTwelveCodesFillEveryRecordExactly)
{
    addCodes(512);
    memory().setRecord(1535, "old code????????" + QByteArray(48, '?'));
    const qint64 start = h.elapsedTicks();
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty()) << qPrintable(h.prompt.messages.join('|'));
    for (int r = 1408; r <= 1535; ++r)
        ASSERT_EQ(memory().record(r), expectedRecord(r, 512)) << r;
    EXPECT_EQ(count(h.port.commands(), 'g'), 128);
    EXPECT_EQ(count(h.port.commands(), 'p'), 0);
    // Each record takes a store, its acknowledgement and a read-back: some
    // twenty seconds for a full store on a good line.
    const double seconds = double(h.elapsedTicks() - start) * Waiter::kTickNs / 1e9;
    EXPECT_LT(seconds, 30.0);
    RecordProperty("virtual_seconds", int(seconds));
}

TEST_F(StoreOnEngine, TheFiveHundredAndThirteenthCodeIsNotWrittenAndIsReported)
{
    addCodes(513);
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::LimitReached);
    EXPECT_EQ(h.prompt.messages, QStringList{kLimit});
    for (int r = 1408; r <= 1535; ++r)
        ASSERT_EQ(memory().record(r), expectedRecord(r, 512)) << r;
    EXPECT_EQ(count(h.port.commands(), 'g'), 128);
    EXPECT_FALSE(memory().storedTags().contains(Directory::code(513)));
    EXPECT_FALSE(h.link.rx().EchoSuppressed);
    EXPECT_FALSE(h.directory.TableLoading);
}

// While the echo is still off the program cannot read a refusal; the record
// then reads back blank and the store is tried again.
TEST_F(StoreOnEngine, RefusedStoresAreTriedAgain)
{
    addCodes(5);
    panel.faults().errorG = 2;
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(commandsAfterErase().mid(0, 6),
              (QList<QByteArray>{"g1408", "r1408", "g1408", "r1408", "g1408", "r1408"}));
    EXPECT_EQ(memory().record(1408), expectedRecord(1408, 5));
    EXPECT_EQ(memory().record(1409), expectedRecord(1409, 5));
}

// Three refusals: the blank check's "OK" lets the read-back run, which finds
// the record blank, and "p" puts it there.
TEST_F(StoreOnEngine, ARecordRefusedThreeTimesIsProgrammedInstead)
{
    addCodes(5);
    panel.faults().errorG = 3;
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(count(commandsAfterErase(), 'p'), 1);
    EXPECT_EQ(memory().record(1408), expectedRecord(1408, 5));
    EXPECT_EQ(memory().record(1409), expectedRecord(1409, 5));
}

TEST_F(StoreOnEngine, ARecordRefusedByStoreAndProgramIsReportedAndStaysBlank)
{
    addCodes(5);
    panel.faults().errorG = 3;
    panel.faults().errorP = 2;
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::SomeFailed);
    EXPECT_EQ(write.failureCount(), 1);
    EXPECT_EQ(h.prompt.messages, QStringList{kFailed});
    EXPECT_EQ(memory().record(1408), kBlank);
    EXPECT_EQ(memory().record(1409), expectedRecord(1409, 5)); // the next record goes on
}

TEST_F(StoreOnEngine, AReadBackThatDiffersIsProgrammedAndTheStoreIsRight)
{
    addCodes(5);
    panel.faults().badReadback = 1;
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    EXPECT_EQ(commandsAfterErase(), (QList<QByteArray>{"g1408", "r1408", "p1408", "r1408", "g1409", "r1409"}));
    EXPECT_EQ(memory().record(1408), expectedRecord(1408, 5));
    EXPECT_EQ(memory().record(1409), expectedRecord(1409, 5));
}

// A panel whose read-back always differs and which refuses "p": the records
// are counted as failed although "g" stored them; nothing is claimed.
TEST_F(StoreOnEngine, ReadBacksThatNeverMatchAreReportedAsFailures)
{
    addCodes(5);
    panel.faults().badReadback = 1000;
    panel.faults().errorP = 1000;
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::SomeFailed);
    EXPECT_EQ(write.failureCount(), 2);
    EXPECT_EQ(h.prompt.messages, QStringList{kFailed});
    EXPECT_EQ(memory().record(1408), expectedRecord(1408, 5));
}

// What Write All leaves in the store comes back through DownLoad, over a
// line that cuts the reply into chunks and strews NUL bytes into it.
TEST_F(StoreOnEngine, AFullStoreComesBackWholeOverAFaultyLine)
{
    addCodes(512);
    ASSERT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);

    h.directory.DefinePhoneFields(); // an empty directory
    panel.engine().setSeed(11);
    panel.faults().chunks = true;
    panel.faults().nul = true;
    RfidDownload download(h.ctx);
    EXPECT_EQ(download.download_idClick(), RfidDownload::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    const Table &table = h.directory.PhoneTable;
    ASSERT_EQ(table.count(), 512);
    for (int i = 1; i <= 512; ++i) {
        ASSERT_EQ(table.value(i - 1, "RoomNumber"), QByteArray::number(i));
        ASSERT_EQ(table.value(i - 1, "RFID"), Directory::code(i)) << i;
        ASSERT_EQ(table.value(i - 1, "Addr"), "p" + QByteArray::number(i + 1));
    }
}

// A tag whose first digit is F starts with "?" in the store, like an empty
// entry; it must come back, or the next Write All would drop it.
TEST_F(StoreOnEngine, ATagWhoseFirstDigitIsFComesBackAndIsWrittenAgain)
{
    Directory::add(h.directory, "Fay", "502", "FEDCBA9876", "1000");
    Directory::add(h.directory, "Gus", "503", "0123456789", "1020");
    ASSERT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(memory().record(1408), "502???" "?>=<;:9876" "503???" "0123456789" + QByteArray(32, '?'));

    RfidDownload download(h.ctx);
    ASSERT_EQ(download.download_idClick(), RfidDownload::Outcome::Completed);
    EXPECT_EQ(Directory::value(h.directory, "Fay", "RFID"), QByteArray("FEDCBA9876"));
    EXPECT_EQ(h.directory.PhoneTable.count(), 2);
    ASSERT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(memory().record(1408), "502???" "?>=<;:9876" "503???" "0123456789" + QByteArray(32, '?'));
}

// The panel refuses "p" (its "Error" follows the echo of the command): the
// read-back's "OK" still in the memo must not hide the refusal, and a
// refused record counts as failed.
TEST_F(StoreOnEngine, ARefusedProgramIsSeenAndTheRecordCountsAsFailed)
{
    addCodes(5);
    panel.faults().badReadback = 1;
    panel.faults().errorP = 2;
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::SomeFailed);
    EXPECT_EQ(write.failureCount(), 1);
    EXPECT_EQ(h.prompt.messages, QStringList{kFailed});
    EXPECT_EQ(commandsAfterErase(), (QList<QByteArray>{"g1408", "r1408", "p1408", "p1408", "g1409", "r1409"}));
}

// An accepted "p" counts only when the record then reads back as meant.
TEST_F(StoreOnEngine, AProgrammedRecordCountsOnlyWhenItReadsBackRight)
{
    addCodes(5);
    panel.faults().badReadback = 2; // the check after "g" and the one after the first "p"
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(commandsAfterErase().mid(0, 6),
              (QList<QByteArray>{"g1408", "r1408", "p1408", "r1408", "p1408", "r1408"}));

    h.port.clearLog();
    panel.faults().badReadback = 3; // every check of record 1408 differs
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::SomeFailed);
    EXPECT_EQ(write.failureCount(), 1);
    EXPECT_EQ(h.prompt.messages, QStringList{kFailed});
}

// A code read at the reader in lower case, and one typed in lower case,
// go into the table in upper case, reach the panel in its form and come
// back whole; the next Write All takes them again.
TEST_F(StoreOnEngine, LowerCaseCodesFromTheReaderOrTypedComeBackWhole)
{
    Directory::add(h.directory, "Ann", "4711", "", "1000");
    Directory::add(h.directory, "Bob", "12", "", "1020");
    RfidPageState page;
    SilentBeeper beeper;
    TagReader reader(h.ctx, page, beeper);
    RfidEntryActions actions(h.ctx, page);

    h.directory.PhoneTable.moveTo(0);
    ASSERT_TRUE(reader.Get_IDClick());
    h.port.inject(PanelLines::tagLine("04a1b2c3d4") + "\r\n", 200'000'000); // a reader sending lower case
    h.link.PumpWait(1158);
    reader.Timer3Timer();
    EXPECT_EQ(page.rfID(), QByteArray("04A1B2C3D4"));
    ASSERT_TRUE(actions.Button1Click());
    h.directory.PhoneTable.moveTo(1);
    page.setRfID("0a0b0c0d0e");
    ASSERT_TRUE(actions.Button1Click());
    EXPECT_EQ(Directory::value(h.directory, "Bob", "RFID"), QByteArray("0A0B0C0D0E"));

    ASSERT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(memory().record(1408), "4711??04:1;2<3=4" "12????0:0;0<0=0>" + QByteArray(32, '?'));
    RfidDownload download(h.ctx);
    ASSERT_EQ(download.download_idClick(), RfidDownload::Outcome::Completed);
    EXPECT_EQ(Directory::value(h.directory, "Ann", "RFID"), QByteArray("04A1B2C3D4"));
    EXPECT_EQ(Directory::value(h.directory, "Bob", "RFID"), QByteArray("0A0B0C0D0E"));
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty()) << qPrintable(h.prompt.messages.join('|'));
}

// A CR, LF or NUL in a room or code (from a file) would cut its "g" short
// and start another command with the rest: Write All stops before the
// erase, names the field, the entry and the value, and the panel keeps its
// store.
TEST_F(StoreOnEngine, AControlByteInARoomOrCodeStopsWriteAllBeforeTheErase)
{
    const QByteArray old = "4711??0000000001" + QByteArray(48, '?');
    memory().setRecord(1408, old);
    addCodes(3);
    Table &table = h.directory.PhoneTable;
    table.moveTo(1);
    table.setField("RoomNumber", QByteArray("2\r1", 3));
    table.post();
    table.moveTo(0);
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::UnsendableEntry);
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_EQ(memory().record(1408), old);
    EXPECT_EQ(table.position(), 2); // the entry at fault is current
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_EQ(h.prompt.messages[0], QStringLiteral("Cannot write the RFID codes to the Corvalen:\r\n"
                                                   "entry 2, Name \"R2\", RoomNumber \"2%c1\"\r\n"
                                                   "RoomNumber \"2%c1\" holds a CR, LF or NUL character.\r\n"
                                                   "Nothing was sent to the Corvalen."));

    h.prompt.messages.clear();
    table.setField("RoomNumber", "2");
    table.setField("RFID", QByteArray("A0000\0" "0003", 10));
    table.post();
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::UnsendableEntry);
    EXPECT_TRUE(h.port.commands().isEmpty());
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages[0].contains(QStringLiteral("entry 2, Name \"R2\", RoomNumber \"2\"\r\n"
                                                             "RFID \"A0000%00003\" holds")))
        << qPrintable(h.prompt.messages[0]);

    // What is not sent is not checked: a room's seventh character, the room
    // of an entry without a code.
    table.setField("RFID", Directory::code(2));
    table.setField("RoomNumber", QByteArray("222222\n", 7));
    table.post();
    Directory::add(h.directory, "No code", "\r", "", "1100");
    EXPECT_EQ(writeAll(), RfidWriteAll::Outcome::Completed);
    EXPECT_EQ(memory().record(1408).mid(16, 16), "222222" + QByteArray(":000000002"));
}
