#include "PanelLines.h"
#include "Directory.h"
#include "link/Connection.h"
#include "rfid/CodeOwner.h"
#include "rfid/RfidEntryActions.h"
#include "rfid/TagReader.h"
#include "support/AppHarness.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
struct CountingBeeper : Beeper
{
    void beep() override { ++beeps; }
    int beeps = 0;
};

// The reader's line as the virtual panel sends it.
QByteArray tagLine(const QByteArray &code)
{
    return PanelLines::tagLine(code) + "\r\n";
}
} // namespace

class TagRead : public ::testing::Test
{
protected:
    TagRead()
    {
        h.logOn();
        Directory::add(h.directory, "Ann", "4711", "A000000001", "1000");
        Directory::add(h.directory, "Bob", "12", "", "1020");
        Directory::add(h.directory, "Cy", "30", "A000000001", "1040");
        // As the window wires it: the page follows the directory's cursor.
        QObject::connect(&h.directory.PhoneTable, &Table::afterScroll, &page,
                         [this] { page.showCurrentEntry(h.directory); });
        h.directory.PhoneTable.moveTo(1);
    }
    // The panel sends a tag line of its own accord, n ticks from now.
    void present(const QByteArray &line) { h.port.inject(line, 0); }
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            h.waiter.pump(1000 * 1000 / 864); // the second between two ticks
            reader.Timer3Timer();
        }
    }

    AppHarness h;
    RfidPageState page;
    CountingBeeper beeper;
    TagReader reader{h.ctx, page, beeper};
    RfidEntryActions actions{h.ctx, page};
};

TEST_F(TagRead, AGoodLineGivesItsCodeAndABeep)
{
    h.link.RxMemo().append("stale text\r\n");
    ASSERT_TRUE(reader.Get_IDClick());
    EXPECT_EQ(page.ProgressBar1(), 20);
    EXPECT_EQ(page.iderror(), QStringLiteral("Ready"));
    EXPECT_EQ(page.rfID(), QByteArray(""));
    EXPECT_TRUE(page.Timer3Active());
    EXPECT_TRUE(h.link.RxMemo().text().isEmpty());

    tick(3);
    EXPECT_EQ(page.ProgressBar1(), 17);
    present(tagLine("0123456789"));
    tick();
    EXPECT_EQ(page.rfID(), QByteArray("0123456789"));
    EXPECT_EQ(page.iderror(), QStringLiteral("Ready"));
    EXPECT_EQ(page.ProgressBar1(), 0);
    EXPECT_FALSE(page.Timer3Active());
    EXPECT_FALSE(page.LcExistVisible());
    EXPECT_EQ(beeper.beeps, 1);
    EXPECT_TRUE(h.port.written().isEmpty()); // nothing is asked of the panel
}

// The keep-alive probes the panel after 55 idle seconds. Its "OK" arriving
// while a tag read waits would be taken for the tag line and end the read
// with a read error before the user reached the panel with the tag.
TEST_F(TagRead, TheKeepAliveDoesNotCutIntoATagRead)
{
    h.port.setResponder([](const QByteArray &c) { return c.isEmpty() ? QByteArray("\r\nOK\r\n") : QByteArray(); });
    Connection connection(h.ctx);
    h.link.conn().IdleTicks = 50; // nothing went to the panel for 50 s
    ASSERT_TRUE(reader.Get_IDClick());
    for (int second = 1; second < TagReader::kTicks; ++second) {
        connection.Timer2Timer();
        tick();
    }
    EXPECT_TRUE(h.port.written().isEmpty()); // no probe while the read waits
    EXPECT_EQ(page.iderror(), QStringLiteral("Ready"));
    present(tagLine("0123456789")); // in the last second
    connection.Timer2Timer();
    tick();
    EXPECT_EQ(page.rfID(), QByteArray("0123456789"));
    EXPECT_EQ(page.iderror(), QStringLiteral("Ready"));
    EXPECT_TRUE(h.link.conn().LoggedOn);
}

TEST_F(TagRead, ABadCheckOrAShortLineIsAReadErrorWithABeep)
{
    for (const QByteArray &line : {QByteArray("01234567898A\r\n"), QByteArray("01234567898\r\n"), QByteArray("OK\r\n")}) {
        reader.Get_IDClick();
        present(line);
        tick();
        EXPECT_EQ(page.iderror(), QStringLiteral("Read Error, Try Again")) << line.constData();
        EXPECT_EQ(page.rfID(), QByteArray(""));
        EXPECT_FALSE(page.Timer3Active());
    }
    EXPECT_EQ(beeper.beeps, 3);
}

TEST_F(TagRead, NoTagTimesOutSilentlyAfterTwentyTicks)
{
    reader.Get_IDClick();
    tick(19);
    EXPECT_TRUE(page.Timer3Active());
    EXPECT_EQ(page.ProgressBar1(), 1);
    tick();
    EXPECT_FALSE(page.Timer3Active());
    EXPECT_EQ(page.ProgressBar1(), 0);
    EXPECT_EQ(page.iderror(), QStringLiteral("Ready"));
    EXPECT_EQ(beeper.beeps, 0);
    // A tick already queued when the read ended changes nothing.
    present(tagLine("0123456789"));
    tick();
    EXPECT_EQ(page.rfID(), QByteArray(""));
    EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(TagRead, ALineArrivingInTheLastSecondIsStillTaken)
{
    reader.Get_IDClick();
    tick(19);
    present(tagLine("0123456789"));
    tick();
    EXPECT_EQ(page.rfID(), QByteArray("0123456789"));
    EXPECT_EQ(beeper.beeps, 1);
}

// The reader's line takes about 2.4 ms on the wire (14 bytes at 57600
// baud). A tick that falls inside them finds part of a good line.
TEST_F(TagRead, ATickThatFallsWhileTheLineIsOnTheWireWaitsForItsLineEnd)
{
    h.port.setChunkSize(1);
    h.port.setByteTimeNs(173600);
    for (int lastTick : {0, 1}) {
        reader.Get_IDClick();
        tick(lastTick ? 18 : 2);
        // The line starts 1.2 ms before the next tick: about half of it is there.
        h.port.inject(tagLine("0123456789"), 998400LL * 1000);
        tick();
        ASSERT_TRUE(h.link.rx().DataArrived);
        ASSERT_FALSE(h.link.RxMemo().text().contains("\r\n")) << "the tick was meant to fall inside the line";
        EXPECT_EQ(page.iderror(), QStringLiteral("Ready"));
        EXPECT_TRUE(page.Timer3Active()); // even when that was the count's last tick
        EXPECT_EQ(beeper.beeps, lastTick);
        tick();
        EXPECT_EQ(page.rfID(), QByteArray("0123456789"));
        EXPECT_EQ(page.iderror(), QStringLiteral("Ready"));
        EXPECT_FALSE(page.Timer3Active());
        EXPECT_EQ(beeper.beeps, lastTick + 1);
    }
}

// The wait for a line end is one tick: a line that never ends is judged as
// it came, and a read that ended does not start waiting again.
TEST_F(TagRead, ALineThatNeverEndsIsJudgedOneTickLater)
{
    reader.Get_IDClick();
    tick(19);
    present("0123456789");
    tick();
    EXPECT_TRUE(page.Timer3Active());
    EXPECT_EQ(page.ProgressBar1(), 0);
    tick();
    EXPECT_FALSE(page.Timer3Active());
    EXPECT_EQ(page.iderror(), QStringLiteral("Read Error, Try Again"));
    EXPECT_EQ(beeper.beeps, 1);

    // A line with its check pair but no line end is still taken then.
    reader.Get_IDClick();
    present(PanelLines::tagLine("0123456789"));
    tick(2);
    EXPECT_EQ(page.rfID(), QByteArray("0123456789"));
    EXPECT_EQ(beeper.beeps, 2);
}

TEST_F(TagRead, PressingAgainRestartsTheCountdown)
{
    reader.Get_IDClick();
    tick(15);
    h.link.RxMemo().append("noise");
    reader.Get_IDClick();
    EXPECT_EQ(page.ProgressBar1(), 20);
    EXPECT_TRUE(h.link.RxMemo().text().isEmpty());
    tick(19);
    EXPECT_TRUE(page.Timer3Active());
}

TEST_F(TagRead, IsRefusedWhileAnExchangeReadsTheMemo)
{
    ExchangeGuard::Scope other(h.guard);
    h.link.RxMemo().append("r0001 reply\r\n");
    EXPECT_FALSE(reader.Get_IDClick());
    EXPECT_FALSE(page.Timer3Active());
    EXPECT_EQ(h.link.RxMemo().line(0), QByteArray("r0001 reply"));
}

TEST_F(TagRead, ACodeHeldByTwoEntriesNamesTheFirstInTheCurrentOrder)
{
    Table &table = h.directory.PhoneTable;
    table.sortOn("RoomNumber", Qt::CaseInsensitive); // 12, 30, 4711
    table.locate("Name", "Bob");
    QSignalSpy scrolls(&table, &Table::afterScroll);

    reader.Get_IDClick();
    present(tagLine("A000000001"));
    tick();
    EXPECT_TRUE(page.LcExistVisible());
    EXPECT_EQ(page.LcExistCaption(), QStringLiteral("Note, This record matches room 30"));
    EXPECT_EQ(page.rfID(), QByteArray("A000000001"));
    // The walk did not move the grid or the fields.
    EXPECT_EQ(scrolls.count(), 0);
    EXPECT_EQ(table.field("Name"), QByteArray("Bob"));
    EXPECT_EQ(page.rfName(), QByteArray("Bob"));
    EXPECT_TRUE(h.directory.ScrollSyncOn);
}

// The case a code came in does not matter: a file may hold lower case.
TEST_F(TagRead, TheOwnerSearchIgnoresCaseAndIncludesTheCurrentEntry)
{
    h.directory.PhoneTable.moveTo(0);
    EXPECT_TRUE(FindCodeOwner(h.directory, page, "A000000001"));
    EXPECT_EQ(page.LcExistCaption(), QStringLiteral("Note, This record matches room 4711"));
    page.hideLcExist();
    EXPECT_TRUE(FindCodeOwner(h.directory, page, "a000000001"));
    Directory::add(h.directory, "Dee", "77", "b0000000ff", "1060");
    EXPECT_TRUE(FindCodeOwner(h.directory, page, "B0000000FF"));
    EXPECT_EQ(page.LcExistCaption(), QStringLiteral("Note, This record matches room 77"));
    page.hideLcExist();
    EXPECT_FALSE(FindCodeOwner(h.directory, page, "A000000002"));
    EXPECT_FALSE(FindCodeOwner(h.directory, page, ""));
    EXPECT_FALSE(page.LcExistVisible());
    // A change of rfName hides the note.
    FindCodeOwner(h.directory, page, "A000000001");
    h.directory.PhoneTable.moveTo(1);
    EXPECT_FALSE(page.LcExistVisible());
}

TEST_F(TagRead, UpDateStoresTheCodeAndAnEmptyCodeErasesIt)
{
    Table &table = h.directory.PhoneTable;
    table.moveTo(0);
    page.showCodeOwner("30");
    page.setRfID("");
    ASSERT_TRUE(actions.Button1Click());
    EXPECT_EQ(Directory::value(h.directory, "Ann", "RFID"), QByteArray(""));
    EXPECT_FALSE(page.LcExistVisible());
    EXPECT_EQ(table.state(), Table::State::Browse);
    EXPECT_TRUE(h.directory.ScrollSyncOn);
    EXPECT_EQ(h.waiter.waits(), (QList<qint32>{10, 10}));

    page.setRfID("0123456789ABC"); // the edit takes ten characters
    actions.Button1Click();
    EXPECT_EQ(Directory::value(h.directory, "Ann", "RFID"), QByteArray("0123456789"));
    EXPECT_EQ(table.count(), 3);
}

TEST_F(TagRead, UpDateAndDelDoNothingWhileTheTableIsLoading)
{
    h.directory.TableLoading = true;
    page.setRfID("0000000000");
    EXPECT_FALSE(actions.Button1Click());
    EXPECT_FALSE(actions.Button2Click());
    EXPECT_EQ(h.directory.PhoneTable.count(), 3);
    EXPECT_EQ(Directory::value(h.directory, "Bob", "RFID"), QByteArray(""));
}

TEST_F(TagRead, DelRemovesTheWholeEntryAndShowsTheNextOne)
{
    Table &table = h.directory.PhoneTable;
    ASSERT_EQ(page.rfName(), QByteArray("Bob"));
    page.showCodeOwner("30");
    ASSERT_TRUE(actions.Button2Click());
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(table.find("Name", "Bob"), -1);
    EXPECT_FALSE(h.directory.DeleteConfirmed);
    EXPECT_FALSE(page.LcExistVisible());
    EXPECT_EQ(page.rfName(), QByteArray("Cy"));
    EXPECT_EQ(page.rfID(), QByteArray("A000000001"));
    // The confirmation was used up: a delete from the grid's keys is refused.
    EXPECT_FALSE(table.remove());
    EXPECT_EQ(table.count(), 2);
}

TEST_F(TagRead, DelOnAnEmptyDirectoryLeavesNoConfirmationBehind)
{
    h.directory.DefinePhoneFields();
    h.directory.PhoneTable.open();
    EXPECT_FALSE(actions.Button2Click());
    EXPECT_FALSE(h.directory.DeleteConfirmed);
    EXPECT_FALSE(actions.Button1Click());
    EXPECT_EQ(h.directory.PhoneTable.count(), 0);
}
