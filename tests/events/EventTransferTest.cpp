#include "events/EventFields.h"
#include "events/EventFile.h"
#include "events/EventSort.h"
#include "events/EventTransfer.h"
#include "EventLines.h"
#include "EventPanel.h"
#include "support/AppHarness.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
constexpr qint64 kMs = 1'000'000;
const QDateTime kAt(QDate(2026, 11, 12), QTime(14, 46, 0));
} // namespace

class EventDownload : public ::testing::Test
{
protected:
    EventDownload()
    {
        h.logOn();
        panel.events = {EventLines::line(EventLines::room4711(), "0C0B1A", "0E2D05", '1', '2', "Ann Other"),
                        EventLines::line(EventLines::button('3')),
                        EventLines::line(EventLines::inCall(), "0C0B1A", "0F0000", '0', '1')};
    }

    EventTransfer transfer(QDateTime at = kAt)
    {
        return EventTransfer(h.ctx, log, ComputerClock([at] { return at; }, QLocale(QLocale::English, QLocale::UnitedKingdom)));
    }
    // Ticks waited after "e" was written (the third command of a download
    // whose waits were logged from its start).
    qint64 ticksAfterE() const
    {
        qint64 ticks = 0;
        int sends = 0;
        for (qint32 w : h.waiter.waits()) {
            if (sends == 3)
                ticks += w;
            else if (w == 1)
                ++sends;
        }
        return ticks;
    }

    AppHarness h;
    EventPanel panel{h.port};
    EventLog log;
};

TEST_F(EventDownload, ReadsTheClocksAndDecodesEveryEventInOrder)
{
    QSignalSpy completed(&log, &EventLog::downloadCompleted);
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);

    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"", "t", "e"}));
    EXPECT_EQ(log.clock.Stime(), QStringLiteral("14:45:13"));
    EXPECT_EQ(log.clock.Sdate(), QStringLiteral("12/11/26"));
    EXPECT_EQ(log.clock.Ctime(), QStringLiteral("14:46:00"));
    EXPECT_EQ(log.clock.Cdate(), QStringLiteral("12/11/2026"));

    const Table &table = log.EventTable;
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.row(0), (QList<QByteArray>{"1", "4711", "12/11/26", "14:45:05", "1", "RF-ID", "Ann Other       "}));
    EXPECT_EQ(table.row(1).at(1), QByteArray("Butt.3"));
    EXPECT_EQ(table.row(2), (QList<QByteArray>{"3", "InCall", "12/11/26", "15:00:00", "0", "Remote", "InCall"}));
    EXPECT_EQ(table.position(), 1);
    EXPECT_TRUE(log.EventsLoaded());
    EXPECT_EQ(completed.count(), 1);
    EXPECT_EQ(h.feedback.events, (QStringList{"show", "blink", "steady", "led 21", "hide"}));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
    // CR, 172.8 ms; memo cleared, 1.7 ms; "t", 172.8 ms; "e" and its grace.
    EXPECT_EQ(h.waiter.waits().mid(0, 7), (QList<qint32>{1, 200, 2, 1, 200, 1, 500}));
}

TEST_F(EventDownload, AReplyOfOnlyItsFirstLineAndOkGivesAnEmptyLoadedTable)
{
    panel.events.clear();
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);
    EXPECT_TRUE(log.EventTable.isOpen());
    EXPECT_EQ(log.EventTable.count(), 0);
    EXPECT_TRUE(log.EventsLoaded());
}

// A short log arrives whole within the first 432 ms. Its "OK" counts: the
// stale acknowledgement is cleared when "e" goes out, not after the grace.
TEST_F(EventDownload, AFastPanelsOkWithinTheGraceCounts)
{
    panel.eventDelayNs = 5 * kMs;
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);
    EXPECT_EQ(log.EventTable.count(), 3);
    EXPECT_EQ(ticksAfterE(), 500);
}

// The clock read leaves its own "OK" behind; a panel that takes 10 s over its
// log must still be waited for, and every event read.
TEST_F(EventDownload, ASlowPanelIsWaitedForDespiteTheClockReadsOk)
{
    panel.eventDelayNs = 10'000 * kMs;
    panel.byteTimeNs = 174'000; // 57600 baud
    for (int i = 0; i < 40; ++i)
        panel.events << EventLines::line(EventLines::room4711());
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);
    EXPECT_EQ(log.EventTable.count(), 43);
    EXPECT_GE(ticksAfterE() * 864'000, 10'000 * kMs);
    EXPECT_EQ(log.EventTable.value(42, EventFields::Event), QByteArray("43"));
}

// The panel's clock fields show the clock just read; "Loaded At" keeps the
// time the rows shown were loaded, and the log says the download failed.
TEST_F(EventDownload, NoOkMeansNotOnLineAndLoadedAtStaysWithTheRowsShown)
{
    // An earlier download left events behind.
    ASSERT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);
    DBGrid2TitleClick(log.EventTable, "Client");
    panel.silentToE = true;
    panel.clock = "0000170D0C1A"; // 23:00:00 on 13/12/26
    h.waiter.clearLog();

    EXPECT_EQ(transfer(kAt.addSecs(3600)).dnLoadClick(), EventTransfer::Outcome::NotOnLine);
    EXPECT_EQ(h.link.RxMemo().text(), QByteArray("Not on line"));
    EXPECT_EQ(h.status.status(), QStringLiteral("Not on line")); // where the user is, after "Done"
    EXPECT_EQ(log.clock.Stime(), QStringLiteral("23:00:00"));
    EXPECT_EQ(log.clock.Sdate(), QStringLiteral("13/12/26"));
    EXPECT_EQ(log.clock.Ctime(), QStringLiteral("14:46:00"));
    EXPECT_EQ(log.clock.Cdate(), QStringLiteral("12/11/2026"));
    EXPECT_EQ(log.downloadProblem(), QStringLiteral("Down Load failed: Not on line. "
                                                    "The events shown were loaded at 14:46:00  12/11/2026."));
    EXPECT_EQ(log.EventTable.count(), 3);
    EXPECT_EQ(log.EventTable.sortField(), log.EventTable.fieldIndex("Client"));
    // The grace and 51 polls of 432 ms, no more.
    EXPECT_EQ(ticksAfterE(), 500 + 51 * 500);
    EXPECT_EQ(h.feedback.events.mid(5), (QStringList{"show", "blink", "steady", "led 21", "hide"}));
}

// The wait is counted from the last byte, but it is bounded in all: a panel
// that never stops talking is given up after 345.6 s.
TEST_F(EventDownload, APanelThatNeverStopsTalkingIsGivenUpInTheEnd)
{
    ASSERT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);
    panel.silentToE = true;
    bool talking = false;
    std::function<void()> babble = [&] {
        if (!talking)
            return;
        h.port.inject("0001 line noise\r\n", 0);
        h.scheduler.in(300 * kMs, babble);
    };
    h.port.setResponder([&](const QByteArray &command) {
        talking = command == "e";
        if (talking)
            babble();
        return panel.answer(command);
    });
    h.waiter.clearLog();
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::NotOnLine);
    talking = false;
    EXPECT_EQ(ticksAfterE(), 800 * 500);
    EXPECT_EQ(log.EventTable.count(), 3);
}

TEST_F(EventDownload, NotOnLineBeforeAnyDownloadLeavesEventsUnloaded)
{
    panel.silentToE = true;
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::NotOnLine);
    EXPECT_FALSE(log.EventsLoaded());
    EXPECT_FALSE(log.EventTable.isOpen());
    EXPECT_EQ(log.clock.Ctime(), QStringLiteral("00:00:00"));
    EXPECT_EQ(log.downloadProblem(), QStringLiteral("Down Load failed: Not on line. No events have been loaded."));

    panel.silentToE = false; // the next download that works says nothing
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);
    EXPECT_EQ(log.downloadProblem(), QString());
    EXPECT_EQ(log.clock.Ctime(), QStringLiteral("14:46:00"));
}

TEST_F(EventDownload, ABadEventLineIsReportedByNumberAndTheRowsBeforeItStay)
{
    panel.events.insert(2, EventLines::line(EventLines::room4711(), "0C0B1A", "0E2DXY"));
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::BadEventLine);
    EXPECT_EQ(log.EventTable.count(), 2);
    EXPECT_FALSE(log.EventsLoaded());
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages.first().startsWith(QStringLiteral("Event 3 could not be read")));
    EXPECT_TRUE(h.prompt.messages.first().contains(QString::fromLatin1(panel.events.at(2))));
    EXPECT_EQ(h.feedback.events.last(), QStringLiteral("hide"));
    EXPECT_EQ(log.clock.Ctime(), QStringLiteral("14:46:00")); // the rows shown are this download's
    EXPECT_TRUE(log.downloadProblem().startsWith(QStringLiteral("Down Load incomplete: event 3 could not be read")));
}

TEST_F(EventDownload, ANonHexadecimalClockStopsBeforeTheEventsAreAskedFor)
{
    ASSERT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);
    h.port.clearLog();
    h.prompt.messages.clear();
    panel.clock = "0D2D0E0C0BZZ";
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::BadClock);
    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"", "t"}));
    EXPECT_EQ(log.EventTable.count(), 3);
    EXPECT_EQ(log.clock.Stime(), QStringLiteral("14:45:13")); // read before the bad date pair
    EXPECT_EQ(log.clock.Sdate(), QStringLiteral("12/11/26"));
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages.first().contains(QStringLiteral("0D2D0E0C0BZZ")));
}

TEST_F(EventDownload, AShortClockLineEmptiesItsFieldsAndTheDownloadGoesOn)
{
    panel.clock = "0D2D0";
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Completed);
    EXPECT_EQ(log.clock.Stime(), QString());
    EXPECT_EQ(log.clock.Sdate(), QString());
    EXPECT_EQ(log.EventTable.count(), 3);
}

TEST_F(EventDownload, DoesNothingWhileAnotherExchangeRuns)
{
    ExchangeGuard::Scope other(h.guard);
    EXPECT_EQ(transfer().dnLoadClick(), EventTransfer::Outcome::Busy);
    EXPECT_FALSE(transfer().Set_timeClick());
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_TRUE(h.feedback.events.isEmpty());
}

TEST_F(EventDownload, SetTimeSendsTheLocalTimeAndTheNextDownloadShowsIt)
{
    const QDateTime at(QDate(2026, 12, 31), QTime(23, 59, 58));
    EXPECT_TRUE(transfer(at).Set_timeClick());
    EXPECT_EQ(h.port.written(), QByteArray("t585923311226\r"));
    EXPECT_EQ(h.status.command(), QStringLiteral("t585923311226"));
    EXPECT_EQ(log.clock.Stime(), QStringLiteral("00:00:00")); // nothing is read back

    ASSERT_EQ(transfer(at).dnLoadClick(), EventTransfer::Outcome::Completed);
    EXPECT_EQ(log.clock.Stime(), QStringLiteral("23:59:58"));
    EXPECT_EQ(log.clock.Sdate(), QStringLiteral("31/12/26"));
}

TEST(ComputerClockText, LongTimeLeavesOutTheTimeZone)
{
    const QDateTime at(QDate(2026, 11, 12), QTime(14, 45, 13));
    EXPECT_EQ(ComputerClock({}, QLocale(QLocale::English, QLocale::UnitedKingdom)).longTime(at), QStringLiteral("14:45:13"));
    EXPECT_EQ(ComputerClock({}, QLocale(QLocale::English, QLocale::UnitedStates)).longTime(at).remove(QChar(0x202F)).remove(' '),
              QStringLiteral("2:45:13PM"));
    EXPECT_EQ(ComputerClock::withoutTimeZone(QStringLiteral("HH:mm:ss t")), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(ComputerClock::withoutTimeZone(QStringLiteral("HH'h't")), QStringLiteral("HH'h'"));
    EXPECT_EQ(ComputerClock::setClockDigits(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6))), QByteArray("060504030201"));
}
