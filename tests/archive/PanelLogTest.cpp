// The virtual panel's event log: it keeps as many events as it is told and
// drops the oldest, and --add-events logs more after the last, so that a
// download after it overlaps the one before.
#include "DemoData.h"
#include "PanelEngine.h"
#include "PanelOptions.h"
#include "PanelSetup.h"
#include "archive/EventArchive.h"
#include "link/ReplyMemo.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PanelLog, AddedEventsFollowTheLastAndTheOldestGiveWay)
{
    const QDateTime now(QDate(2026, 3, 10), QTime(12, 0));
    PanelMemory memory(PanelMemory::kFirstDirectory + 100);
    memory.setMaxEvents(2000);
    DemoData::addEvents(memory, 2000, now);
    ASSERT_EQ(memory.events().size(), 2000);
    EXPECT_LE(memory.events().last().when, now);
    const QList<PanelEvent> before = memory.events();
    for (int i = 1; i < before.size(); ++i)
        ASSERT_LT(before.at(i - 1).when, before.at(i).when);

    DemoData::addEvents(memory, 500, now.addSecs(3600));
    const QList<PanelEvent> after = memory.events();
    ASSERT_EQ(after.size(), 2000);
    // The log now starts with the 501st of before and ends with 500 new.
    EXPECT_EQ(after.mid(0, 1500), before.mid(500));
    EXPECT_GT(after.at(1500).when, before.last().when);
    EXPECT_LE(after.last().when, now.addSecs(3600));
    QSet<int> kinds;
    for (const PanelEvent &e : after.mid(1500))
        kinds.insert(int(e.kind));
    EXPECT_EQ(kinds.size(), 4);
}

TEST(PanelLog, TheCommandLineAddsEventsAfterTheDemoOrTheMemory)
{
    QString error;
    const std::optional<PanelOptions> o = PanelOptions::parse(
        {QStringLiteral("panel-sim"), QStringLiteral("--demo"), QStringLiteral("--max-events"), QStringLiteral("100"),
         QStringLiteral("--add-events"), QStringLiteral("70")},
        &error);
    ASSERT_TRUE(o) << error.toStdString();
    EXPECT_EQ(o->addEvents, 70);
    const QDateTime now(QDate(2026, 3, 10), QTime(12, 0));
    PanelSetup::Result r = PanelSetup::build(*o, now, &error);
    ASSERT_TRUE(r.engine) << error.toStdString();
    // Sixty demo events and seventy more, in a log of a hundred.
    const QList<PanelEvent> &log = r.engine->memory().events();
    EXPECT_EQ(log.size(), 100);

    EXPECT_FALSE(PanelOptions::parse({QStringLiteral("panel-sim"), QStringLiteral("--add-events"), QStringLiteral("x")},
                                     &error));
    EXPECT_TRUE(error.contains(QStringLiteral("--add-events")));
}

namespace {
// The event lines of the panel's reply to "e", as the download hands them
// over: between the reply's first line and its "OK".
QList<QByteArray> downloadEvents(PanelEngine &panel)
{
    const QList<QByteArray> reply = ReplyMemo::splitLines(panel.feed("e\r"));
    return reply.mid(1, reply.size() - 2);
}
} // namespace

TEST(PanelLog, AWrappedLogDownloadedAgainAddsOnlyItsNewEventsToTheArchive)
{
    const QDateTime now(QDate(2026, 3, 10), QTime(12, 0));
    PanelEngine panel;
    panel.memory().setMaxEvents(2000);
    DemoData::addEvents(panel.memory(), 2000, now);
    panel.feed("\r");
    panel.feed("a" + panel.pin() + "\r");
    ASSERT_TRUE(panel.loggedOn());

    QTemporaryDir dir;
    EventArchive archive(dir.path());
    ASSERT_TRUE(archive.open());
    auto download = [&](const QDateTime &at) {
        EventArchive::Download d;
        d.lines = downloadEvents(panel);
        d.downloadedAt = at;
        return archive.addDownload(d);
    };
    const EventArchive::Added first = download(now);
    EXPECT_EQ(first.received, 2000);
    EXPECT_EQ(first.added, 2000);
    // The panel logs 500 more and drops its 500 oldest.
    DemoData::addEvents(panel.memory(), 500, now.addDays(1));
    const EventArchive::Added second = download(now.addDays(1));
    EXPECT_EQ(second.received, 2000);
    EXPECT_EQ(second.added, 500);
    EXPECT_EQ(archive.eventCount(), 2500);
    EXPECT_EQ(download(now.addDays(2)).added, 0);
    EXPECT_EQ(archive.eventCount(), 2500);
}
