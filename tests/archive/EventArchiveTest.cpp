// Recording downloads of the panel's event log: only what is new is added,
// nothing is lost, every event keeps its fields, raw line and full date.
#include "ArchiveTestData.h"
#include "archive/ArchiveSelection.h"
#include "archive/EventArchive.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
using namespace ArchiveTestData;

const QDateTime kDownloadAt(QDate(2026, 3, 10), QTime(9, 30, 0));

class EventArchiveTest : public ::testing::Test
{
protected:
    EventArchive::Added add(const QList<QByteArray> &lines, const QDateTime &at = kDownloadAt)
    {
        EventArchive::Download d;
        d.lines = lines;
        d.downloadedAt = at;
        d.via = QStringLiteral("corvalen-cli");
        return archive.addDownload(d);
    }

    // Every event of the archive in the panel's order.
    QList<ArchivedEvent> all()
    {
        ArchiveSelection s(archive);
        EXPECT_TRUE(s.select({}));
        EXPECT_TRUE(s.sortBy({ArchiveColumn::Downloaded, Qt::AscendingOrder}));
        QList<ArchivedEvent> rows;
        EXPECT_TRUE(s.rows(0, int(s.count()), &rows));
        return rows;
    }

    QList<QByteArray> storedLines()
    {
        QList<QByteArray> out;
        for (const ArchivedEvent &e : all())
            out << e.line;
        return out;
    }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QString error;
        ASSERT_TRUE(archive.open(&error)) << error.toStdString();
    }

    QTemporaryDir dir;
    EventArchive archive{dir.path()};
};

QList<QByteArray> keysOf(const QList<QByteArray> &lines)
{
    QList<QByteArray> out;
    for (const QByteArray &l : lines)
        out << l.mid(5);
    return out;
}
} // namespace

TEST_F(EventArchiveTest, AWrappedLogAddsOnlyItsNewEventsAndARepeatAddsNone)
{
    const QList<PanelEvent> history = mixedLog(150);
    const QList<QByteArray> first = lines(history.mid(0, 100));
    const EventArchive::Added a = add(first);
    EXPECT_TRUE(a.ok);
    EXPECT_EQ(a.received, 100);
    EXPECT_EQ(a.added, 100);
    EXPECT_EQ(archive.eventCount(), 100);

    // The same log again.
    EXPECT_EQ(add(first).added, 0);
    EXPECT_EQ(archive.eventCount(), 100);

    // The panel logged 50 more and dropped its 50 oldest; its lines are
    // numbered afresh.
    const EventArchive::Added b = add(lines(history.mid(50, 100)));
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(b.added, 50);
    EXPECT_EQ(keysOf(storedLines()), keysOf(lines(history)));
    EXPECT_EQ(add(lines(history.mid(50, 100))).added, 0);
}

TEST_F(EventArchiveTest, AClearedLogOrOneThatWrappedPastEverythingAddsAll)
{
    const QList<PanelEvent> history = mixedLog(300);
    add(lines(history.mid(0, 100)));
    // Wrapped past everything seen: no overlap.
    EXPECT_EQ(add(lines(history.mid(150, 100))).added, 100);
    // Cleared: a short fresh log.
    EXPECT_EQ(add(lines(history.mid(290, 10))).added, 10);
    EXPECT_EQ(archive.eventCount(), 210);
}

TEST_F(EventArchiveTest, IdenticalLinesInTheSameSecondAreSeparateEvents)
{
    const QDateTime t(QDate(2026, 3, 9), QTime(23, 15, 7));
    const PanelEvent press = marker(PanelEvent::Kind::Button, t, 3);
    const PanelEvent call = marker(PanelEvent::Kind::Call, t.addSecs(5), 0, 1, PanelEvent::Remote);
    EXPECT_EQ(add(lines({press, press})).added, 2);
    // The same two again: nothing new.
    EXPECT_EQ(add(lines({press, press})).added, 0);
    // The log now holds a third press of the same second: one is new.
    EXPECT_EQ(add(lines({press, press, press, call})).added, 2);
    EXPECT_EQ(archive.eventCount(), 4);
}

TEST_F(EventArchiveTest, EventsSeenBeforeButNotAtTheArchivesEndAreNewEvents)
{
    // The log was cleared and the start of the old log happened again
    // (a panel whose clock went back): those are events of their own.
    const QList<PanelEvent> history = mixedLog(10);
    add(lines(history));
    EXPECT_EQ(add(lines(history.mid(0, 3))).added, 3);
    EXPECT_EQ(archive.eventCount(), 13);
}

TEST_F(EventArchiveTest, EveryEventKeepsItsFieldsItsLineAndAFullDate)
{
    const QDateTime when(QDate(2026, 3, 9), QTime(22, 41, 5));
    const QList<PanelEvent> log{room(when, "4711", "M\xfcller J\xfcrgen", 2, PanelEvent::RfId),
                                marker(PanelEvent::Kind::Button, when.addSecs(60), 3),
                                marker(PanelEvent::Kind::Call, when.addSecs(120), 0, 1, PanelEvent::Remote),
                                marker(PanelEvent::Kind::Error, when.addSecs(180), 2)};
    const QList<QByteArray> sent = lines(log);
    add(sent);
    const QList<ArchivedEvent> rows = all();
    ASSERT_EQ(rows.size(), 4);
    const ArchivedEvent &r = rows.at(0);
    EXPECT_EQ(r.room, "4711");
    EXPECT_EQ(r.client, QByteArray("M\xfcller J\xfcrgen").leftJustified(16, ' ')); // as sent
    EXPECT_EQ(r.clientText(), "M\xfcller J\xfcrgen");
    EXPECT_EQ(r.relay, "2");
    EXPECT_EQ(r.source, EventSource::RfId);
    EXPECT_EQ(r.kind, EventKind::Room);
    EXPECT_EQ(r.date, "09/03/26");
    EXPECT_EQ(r.time, "22:41:05");
    EXPECT_EQ(r.fullDate, QDate(2026, 3, 9));
    EXPECT_EQ(r.second, 22 * 3600 + 41 * 60 + 5);
    EXPECT_EQ(r.dateText(), "2026-03-09");
    EXPECT_EQ(r.timeText(), "22:41:05");
    EXPECT_EQ(r.line, sent.at(0));
    EXPECT_EQ(r.downloadedAt, kDownloadAt.toUTC());
    EXPECT_TRUE(r.decoded);

    EXPECT_EQ(rows.at(1).room, "Butt.3");
    EXPECT_EQ(rows.at(1).client, "Butt.3");
    EXPECT_EQ(rows.at(1).kind, EventKind::Button);
    EXPECT_EQ(rows.at(2).room, "InCall");
    EXPECT_EQ(rows.at(2).kind, EventKind::InCall);
    EXPECT_EQ(rows.at(2).source, EventSource::Remote);
    EXPECT_EQ(rows.at(3).room, "error");
    EXPECT_EQ(rows.at(3).kind, EventKind::Error);
}

TEST_F(EventArchiveTest, LinesWithoutADateThatCanBeAreKeptNotDropped)
{
    const QDateTime when(QDate(2026, 3, 9), QTime(8, 0, 0));
    QList<QByteArray> sent = lines({room(when, "101", "Adams Helen")});
    // Erased bytes: the grid shows 55/55/55 and 55:55:55.
    QByteArray erased = sent.at(0);
    erased.replace(17, 12, "FFFFFFFFFFFF");
    // Not hexadecimal: the grid cannot decode the line at all.
    QByteArray garbled = sent.at(0);
    garbled.replace(17, 2, "ZZ");
    // A line that ends inside the room field.
    const QByteArray cut = "0004 0407";
    sent << erased << garbled << cut;
    const EventArchive::Added a = add(sent);
    EXPECT_EQ(a.added, 4);
    EXPECT_EQ(a.undated, 3);

    const QList<ArchivedEvent> rows = all();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows.at(1).date, "55/55/55");
    EXPECT_FALSE(rows.at(1).fullDate);
    EXPECT_FALSE(rows.at(1).second);
    EXPECT_EQ(rows.at(1).dateText(), "55/55/55");
    EXPECT_EQ(rows.at(1).room, "101");
    EXPECT_TRUE(rows.at(1).decoded);

    EXPECT_FALSE(rows.at(2).decoded);
    EXPECT_EQ(rows.at(2).line, garbled);
    EXPECT_EQ(rows.at(2).room, "101");
    EXPECT_EQ(rows.at(2).date, "ZZ031A"); // as sent
    EXPECT_EQ(rows.at(2).clientText(), "Adams Helen");
    EXPECT_FALSE(rows.at(2).fullDate);

    EXPECT_EQ(rows.at(3).line, cut);
    EXPECT_EQ(rows.at(3).room, "error");
    EXPECT_EQ(rows.at(3).source, EventSource::Error);

    // They still take part in the overlap like any other line.
    EXPECT_EQ(add(sent).added, 0);
}

TEST_F(EventArchiveTest, YearsAreReadAgainstTheDownloadsDate)
{
    const QDateTime newYear(QDate(2027, 1, 1), QTime(0, 0, 30));
    const QList<PanelEvent> log{room(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 0)), "12", "Old Year"),
                                // The panel's clock a little ahead of the computer's.
                                room(QDateTime(QDate(2028, 1, 1), QTime(0, 0, 10)), "12", "Ahead"),
                                room(QDateTime(QDate(1999, 12, 31), QTime(12, 0, 0)), "12", "Last Century")};
    add(lines(log), QDateTime(QDate(2026, 12, 31), QTime(23, 59, 50)));
    const QList<ArchivedEvent> rows = all();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0).fullDate, QDate(2026, 12, 31));
    EXPECT_EQ(rows.at(1).fullDate, QDate(1928, 1, 1)); // more than a year ahead: the century before
    EXPECT_EQ(rows.at(2).fullDate, QDate(1999, 12, 31));

    // A panel clock read at the download that is already in the new year.
    EventArchive::Download d;
    d.lines = lines({room(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 5)), "12", "New Year")});
    d.downloadedAt = QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58));
    d.panelClock = newYear;
    ASSERT_TRUE(archive.addDownload(d).ok);
    EXPECT_EQ(all().last().fullDate, QDate(2027, 1, 1));
}

TEST_F(EventArchiveTest, DownloadsAreNotedWithWhenWhoAndVia)
{
    const QList<PanelEvent> history = mixedLog(20);
    add(lines(history.mid(0, 15)));
    EventArchive::Download d;
    d.lines = lines(history.mid(5, 15));
    d.downloadedAt = kDownloadAt.addSecs(3600);
    d.panelClock = kDownloadAt.addSecs(3590);
    d.via = QStringLiteral("backup job");
    const EventArchive::Added b = archive.addDownload(d);
    EXPECT_EQ(b.added, 5);
    add({}); // an empty log is a download too

    const QList<EventArchive::DownloadInfo> list = archive.downloads();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0).lines, 15);
    EXPECT_EQ(list.at(0).added, 15);
    EXPECT_EQ(list.at(0).via, "corvalen-cli");
    EXPECT_EQ(list.at(0).who, EventArchive::who());
    EXPECT_TRUE(list.at(0).who.contains(u'@'));
    EXPECT_FALSE(list.at(0).panelClock);
    EXPECT_EQ(list.at(1).id, b.download);
    EXPECT_EQ(list.at(1).at, d.downloadedAt.toUTC());
    EXPECT_EQ(list.at(1).panelClock, d.panelClock);
    EXPECT_EQ(list.at(1).lines, 15);
    EXPECT_EQ(list.at(1).added, 5);
    EXPECT_EQ(list.at(1).via, "backup job");
    EXPECT_EQ(list.at(2).lines, 0);
    EXPECT_EQ(list.at(2).added, 0);
}

TEST_F(EventArchiveTest, TheArchiveIsKeptOnDiskAndSharedBetweenObjects)
{
    const QList<PanelEvent> history = mixedLog(40);
    add(lines(history.mid(0, 30)));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("events.sqlite"))));

    // A second object on the same folder (the command line beside the
    // window) continues the same archive, rooms and clients included.
    EventArchive other(dir.path());
    ASSERT_TRUE(other.open());
    EventArchive::Download d;
    d.lines = lines(history.mid(10, 30));
    d.downloadedAt = kDownloadAt;
    EXPECT_EQ(other.addDownload(d).added, 10);
    EXPECT_EQ(archive.eventCount(), 40);
    EXPECT_EQ(keysOf(storedLines()), keysOf(lines(history)));
}

TEST(EventArchive, AStoreOfANewerVersionOrAFolderThatCannotBeIsRefused)
{
    QTemporaryDir dir;
    {
        EventArchive a(dir.path());
        ASSERT_TRUE(a.open());
        QSqlQuery q(a.database());
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version=99")));
    }
    EventArchive b(dir.path());
    QString error;
    EXPECT_FALSE(b.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("newer version"))) << error.toStdString();
    EXPECT_FALSE(b.addDownload({}).ok);

    // A folder where a file stands.
    QFile file(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EventArchive c(dir.filePath(QStringLiteral("plain")));
    EXPECT_FALSE(c.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("cannot be opened"))) << error.toStdString();
}

TEST(EventArchive, AFileThatIsNotADatabaseIsReportedAndLeftAlone)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("events.sqlite")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray notes("my notes, not a database\n");
    file.write(notes.repeated(200));
    file.close();
    EventArchive a(dir.path());
    QString error;
    EXPECT_FALSE(a.open(&error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), notes.repeated(200));
}

TEST_F(EventArchiveTest, ADownloadThatFailsHalfwayLeavesNothingBehind)
{
    const QList<PanelEvent> history = mixedLog(20);
    add(lines(history.mid(0, 5)));
    // The disk refuses the 13th event (as a full disk would).
    QSqlQuery q(archive.database());
    ASSERT_TRUE(q.exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE INSERT ON events"
                                      " WHEN (SELECT count(*) FROM events) >= 12"
                                      " BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    // A new room and client come with it, before the refusal.
    QList<PanelEvent> more = history.mid(0, 5);
    more << room(history.at(4).when.addSecs(1), "999", "Newcomer Nina") << history.mid(5, 10);
    const EventArchive::Added failed = add(lines(more));
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.added, 0);
    EXPECT_TRUE(failed.error.contains(QStringLiteral("disk full"))) << failed.error.toStdString();
    EXPECT_EQ(archive.eventCount(), 5);
    EXPECT_EQ(archive.downloads().size(), 1);

    // Once the disk takes it again, the same download goes in whole, its
    // new room and client included.
    ASSERT_TRUE(q.exec(QStringLiteral("DROP TRIGGER refuse")));
    const EventArchive::Added again = add(lines(more));
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(again.added, 11);
    const QList<ArchivedEvent> rows = all();
    ASSERT_EQ(rows.size(), 16);
    EXPECT_EQ(rows.at(5).room, "999");
    EXPECT_EQ(rows.at(5).clientText(), "Newcomer Nina");
    EXPECT_EQ(rows.last().line.mid(5), lines(history).at(14).mid(5));
    // As the store holds it, for any other reader too.
    EventArchive reader(dir.path());
    ASSERT_TRUE(reader.open());
    ArchiveSelection s(reader);
    ASSERT_TRUE(s.select({}));
    QList<ArchivedEvent> stored;
    ASSERT_TRUE(s.rows(0, 16, &stored));
    ASSERT_EQ(stored.size(), 16);
    EXPECT_EQ(stored.at(5).room, "999");
    EXPECT_EQ(stored.at(5).clientText(), "Newcomer Nina");
}
