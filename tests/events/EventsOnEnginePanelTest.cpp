// The event download against the virtual panel's engine on virtual time:
// its own log, its own clock and its own faults.
#include "PanelClock.h"
#include "events/EventTransfer.h"
#include "support/AppHarness.h"
#include "support/EnginePanel.h"
#include "support/PanelEventRows.h"

#include <gtest/gtest.h>

namespace {
using Kind = PanelEvent::Kind;

const QDateTime kComputer(QDate(2026, 11, 12), QTime(14, 46, 0));

// A log of n events of every kind: rooms of one to six digits with names
// (some with bytes above 127), buttons 0-15, calls and errors, every source.
QList<PanelEvent> mixedLog(int n)
{
    QList<PanelEvent> log;
    QDateTime when = PanelClock::fields(2026, 10, 1, 0, 0, 0);
    for (int i = 0; i < n; ++i) {
        when = when.addSecs(3607 + i * 13);
        const int source = i % 3;
        switch (i % 5) {
        case 0:
        case 1:
            log << PanelEventRows::roomEvent(when, QByteArray::number(i * 37 % 1000000 + 1).left(1 + i % 6),
                                             "Resident \xe9\xe8 " + QByteArray::number(i), 1 + i % 2, source);
            break;
        case 2:
            log << PanelEventRows::markerEvent(Kind::Button, when, i % 16, 0, source);
            break;
        case 3:
            log << PanelEventRows::markerEvent(Kind::Call, when, 0, i % 2, source);
            break;
        case 4:
            log << PanelEventRows::markerEvent(Kind::Error, when, i % 4, 0, source);
            break;
        }
    }
    return log;
}
} // namespace

class EventsOnEngine : public ::testing::Test
{
protected:
    EventsOnEngine()
    {
        h.logOnWithPin();
        EXPECT_TRUE(panel.engine().loggedOn());
    }

    void setLog(const QList<PanelEvent> &log)
    {
        panel.memory().clearEvents();
        for (const PanelEvent &e : log)
            panel.memory().addEvent(e);
    }
    void setPanelClock(int hour, int minute, int second)
    {
        panel.engine().clock().set(PanelClock::fields(2026, 11, 12, hour, minute, second));
    }
    EventTransfer::Outcome download(QDateTime computer = kComputer)
    {
        return EventTransfer(h.ctx, log,
                             ComputerClock([computer] { return computer; }, QLocale(QLocale::English, QLocale::UnitedKingdom)))
            .dnLoadClick();
    }
    // Virtual time waited since "e" went out, in seconds.
    double secondsSinceE() const
    {
        const QList<qint64> times = h.port.commandTimesNs();
        return double(h.clock.nowNs() - times.value(times.size() - 1)) / 1e9;
    }
    void expectTableHolds(const QList<PanelEvent> &events)
    {
        ASSERT_EQ(log.EventTable.count(), events.size());
        for (int i = 0; i < events.size(); ++i)
            ASSERT_EQ(log.EventTable.row(i), PanelEventRows::row(i + 1, events[i])) << "event " << i + 1;
    }

    AppHarness h;
    EnginePanel panel{h.port};
    EventLog log;
};

TEST_F(EventsOnEngine, EveryEventIsDecodedOverALineWithNulBytesAndRandomChunks)
{
    const QList<PanelEvent> events = mixedLog(300);
    setLog(events);
    setPanelClock(14, 45, 13);
    panel.engine().setSeed(5);
    panel.faults().nul = true;
    panel.faults().chunks = true;

    EXPECT_EQ(download(), EventTransfer::Outcome::Completed);
    EXPECT_TRUE(h.prompt.messages.isEmpty()) << qPrintable(h.prompt.messages.join('|'));
    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"", "t", "e"}));
    EXPECT_EQ(log.clock.Stime(), QStringLiteral("14:45:13"));
    EXPECT_EQ(log.clock.Sdate(), QStringLiteral("12/11/26"));
    expectTableHolds(events);
    EXPECT_TRUE(log.EventsLoaded());
}

// The panel stops answering once its clock has been read: the clock fields
// show what was read, the events of the last download stay.
TEST_F(EventsOnEngine, APanelSilentAfterTheClockReadIsNotOnLine)
{
    const QList<PanelEvent> first = mixedLog(7);
    setLog(first);
    ASSERT_EQ(download(), EventTransfer::Outcome::Completed);

    setLog(mixedLog(9));
    setPanelClock(9, 8, 7);
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        if (command == "e")
            panel.faults().silent = true;
    });
    h.waiter.clearLog();
    EXPECT_EQ(download(), EventTransfer::Outcome::NotOnLine);
    EXPECT_EQ(h.link.RxMemo().text(), QByteArray("Not on line"));
    // The clock runs on from where it was set (time passes since the panel
    // last looked at it).
    EXPECT_TRUE(log.clock.Stime() == QStringLiteral("09:08:07") || log.clock.Stime() == QStringLiteral("09:08:08"))
        << qPrintable(log.clock.Stime());
    expectTableHolds(first);
    EXPECT_TRUE(log.EventsLoaded()); // from the first download
    // The grace and 51 polls of 432 ms: some 22 s.
    EXPECT_EQ(h.waiter.waits().count(500), 52);
    EXPECT_EQ(h.feedback.events.last(), QStringLiteral("hide"));
}

// The log arrives whole but its "OK" is lost: the download cannot know it
// is complete, and loads nothing.
TEST_F(EventsOnEngine, ALogWithoutItsOkIsNotOnLine)
{
    setLog(mixedLog(4));
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        if (command == "e")
            panel.faults().dropOk = true;
    });
    EXPECT_EQ(download(), EventTransfer::Outcome::NotOnLine);
    EXPECT_EQ(h.link.RxMemo().text(), QByteArray("Not on line"));
    EXPECT_FALSE(log.EventsLoaded());
    EXPECT_FALSE(log.EventTable.isOpen());
}

// The panel keeps the last download's rows and their loading time when a
// download loses its "OK"; the event page is told that it failed.
TEST_F(EventsOnEngine, AFailedDownloadAfterAGoodOneKeepsTheRowsAndTheirLoadingTime)
{
    const QList<PanelEvent> first = mixedLog(6);
    setLog(first);
    ASSERT_EQ(download(), EventTransfer::Outcome::Completed);
    EXPECT_EQ(log.downloadProblem(), QString());

    setLog(mixedLog(8));
    setPanelClock(9, 8, 7);
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        if (command == "e")
            panel.faults().dropOk = true;
    });
    EXPECT_EQ(download(kComputer.addSecs(600)), EventTransfer::Outcome::NotOnLine);
    expectTableHolds(first);
    EXPECT_EQ(log.clock.Ctime(), QStringLiteral("14:46:00")); // when the rows shown came
    EXPECT_TRUE(log.clock.Stime().startsWith(QStringLiteral("09:08:"))) << qPrintable(log.clock.Stime());
    EXPECT_EQ(log.downloadProblem(), QStringLiteral("Down Load failed: Not on line. "
                                                    "The events shown were loaded at 14:46:00  12/11/2026."));
}

// A resident whose name ends in "OK" fills the name field to its end, so
// the line ends in "OK" CR LF; a pause of the panel right after it must not
// end the download.
TEST_F(EventsOnEngine, ANameEndingInOkAtAPauseDoesNotEndTheLog)
{
    QList<PanelEvent> events = mixedLog(10);
    events[0] = PanelEventRows::roomEvent(events[0].when, "4711", "ANNA-MARIE BROOK", 1, PanelEvent::Local);
    setLog(events);
    panel.faults().pauseAfter = 3 + 55; // "e" CR LF, then the first event line
    panel.faults().pauseMs = 1500;
    EXPECT_EQ(download(), EventTransfer::Outcome::Completed);
    expectTableHolds(events);
}

// The clock read's "OK" comes late, after "e" has gone out: it is not the
// end of the event reply, nor a line of it.
TEST_F(EventsOnEngine, TheClockReadsLateOkIsNotTakenForTheEventReply)
{
    const QList<PanelEvent> events = mixedLog(5);
    setLog(events);
    setPanelClock(14, 45, 13);
    panel.faults().pauseAfter = 3 + 12 + 2; // the clock reply's two lines, then a pause before its "OK"
    panel.faults().pauseMs = 300;
    EXPECT_EQ(download(), EventTransfer::Outcome::Completed);
    EXPECT_EQ(log.clock.Stime(), QStringLiteral("14:45:13"));
    expectTableHolds(events);
}

// 3000 events take some 29 s at the line rate, longer than the 22.5 s the
// wait allows for silence: the wait goes on as long as bytes keep coming.
TEST_F(EventsOnEngine, ALogLongerThanTheSilenceBoundComesWhole)
{
    panel.memory().setMaxEvents(3000);
    const QList<PanelEvent> events = mixedLog(3000);
    setLog(events);
    EXPECT_EQ(download(), EventTransfer::Outcome::Completed);
    EXPECT_GT(secondsSinceE(), 25.0);
    expectTableHolds(events);
    EXPECT_TRUE(log.EventsLoaded());
}

// A panel that stops in the middle of the log is given up 22.5 s after its
// last byte, however long it had been sending.
TEST_F(EventsOnEngine, APanelThatStopsMidLogIsGivenUpTwentyTwoSecondsAfterItsLastByte)
{
    const QList<PanelEvent> first = mixedLog(3);
    setLog(first);
    ASSERT_EQ(download(), EventTransfer::Outcome::Completed);
    setLog(mixedLog(900));
    panel.faults().stallAfter = 3 + 55 * 600; // some 5.7 s of the log, then nothing
    qint64 lastByteNs = 0;
    QObject::connect(&h.port, &SerialPort::readyRead, [&] { lastByteNs = h.clock.nowNs(); });

    EXPECT_EQ(download(), EventTransfer::Outcome::NotOnLine);
    const double silence = double(h.clock.nowNs() - lastByteNs) / 1e9;
    EXPECT_GE(silence, 52 * 0.432);
    EXPECT_LE(silence, 53 * 0.432);
    EXPECT_GT(secondsSinceE(), 27.0);
    expectTableHolds(first);
}
