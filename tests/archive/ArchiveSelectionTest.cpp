// Selecting archived events: every filter, the date range's edges, the
// chart's figures, and rows read a slice at a time in every order, checked
// against the events the virtual panel logged.
#include "ArchiveTestData.h"
#include "archive/ArchiveSelection.h"
#include "archive/EventArchive.h"
#include "table/NaturalOrder.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {
using namespace ArchiveTestData;

// What a panel event should look like in the archive, worked out from the
// event itself.
struct Expected
{
    qint64 order; // place in the panel's log
    QDate date;
    int second;
    QByteArray room;
    QByteArray client; // trimmed
    QByteArray relay;
    EventSource source;
    EventKind kind;
};

Expected expected(qint64 order, const PanelEvent &e)
{
    Expected x{order, e.when.date(), e.when.time().msecsSinceStartOfDay() / 1000, {}, {}, QByteArray::number(e.relay),
               EventSource(qBound(0, e.source, 3)), EventKind::Room};
    switch (e.kind) {
    case PanelEvent::Kind::Room:
        x.room = e.room;
        x.client = e.name;
        break;
    case PanelEvent::Kind::Button:
        x.room = x.client = "Butt." + QByteArray::number(e.digit, 16).toUpper();
        x.kind = EventKind::Button;
        break;
    case PanelEvent::Kind::Call:
        x.room = x.client = "InCall";
        x.kind = EventKind::InCall;
        break;
    case PanelEvent::Kind::Error:
        x.room = x.client = "error";
        x.kind = EventKind::Error;
        break;
    }
    return x;
}

class ArchiveSelectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(archive.open());
        // 1,500 events every 7m13s: about 7.5 days, every hour; in three
        // overlapping downloads.
        log = mixedLog(1500, QDateTime(QDate(2026, 2, 26), QTime(0, 3, 0)));
        for (int i = 0; i < log.size(); ++i)
            want << expected(i, log.at(i));
        const int windows[][2] = {{0, 700}, {500, 600}, {1000, 500}};
        for (const auto &w : windows) {
            EventArchive::Download d;
            d.lines = lines(log.mid(w[0], w[1]));
            d.downloadedAt = log.at(w[0] + w[1] - 1).when.addSecs(60);
            ASSERT_TRUE(archive.addDownload(d).ok);
        }
        ASSERT_EQ(archive.eventCount(), 1500);
    }

    QList<Expected> matching(const std::function<bool(const Expected &)> &keep) const
    {
        QList<Expected> out;
        for (const Expected &x : want)
            if (keep(x))
                out << x;
        return out;
    }

    // Checks the count and every row of the selection (read in slices of
    // awkward sizes) against the expected events in the expected order.
    void expectRows(ArchiveSelection &s, const QList<Expected> &rows)
    {
        ASSERT_EQ(s.count(), rows.size());
        QList<ArchivedEvent> got;
        for (qint64 first = 0; first < s.count(); first += 97) {
            QList<ArchivedEvent> slice;
            ASSERT_TRUE(s.rows(first, 97, &slice));
            got << slice;
        }
        ASSERT_EQ(got.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const Expected &x = rows.at(i);
            const ArchivedEvent &e = got.at(i);
            ASSERT_EQ(e.fullDate, x.date) << "row " << i;
            ASSERT_EQ(e.second, x.second) << "row " << i;
            ASSERT_EQ(e.room, x.room) << "row " << i;
            ASSERT_EQ(e.clientText(), x.client) << "row " << i;
            ASSERT_EQ(e.relay, x.relay) << "row " << i;
            ASSERT_EQ(e.source, x.source) << "row " << i;
        }
    }

    void expectSelects(const EventFilter &filter, const std::function<bool(const Expected &)> &keep)
    {
        ArchiveSelection s(archive);
        ASSERT_TRUE(s.select(filter));
        expectRows(s, matching(keep));
    }

    QTemporaryDir dir;
    EventArchive archive{dir.path()};
    QList<PanelEvent> log;
    QList<Expected> want;
};
} // namespace

TEST_F(ArchiveSelectionTest, EachFilterSelectsItsEvents)
{
    expectSelects({}, [](const Expected &) { return true; });
    for (EventKind k : {EventKind::Room, EventKind::InCall, EventKind::Button, EventKind::Error}) {
        EventFilter f;
        f.kind = k;
        SCOPED_TRACE(EventKinds::name(k).toStdString());
        expectSelects(f, [k](const Expected &x) { return x.kind == k; });
    }
    for (EventSource src : {EventSource::Local, EventSource::Remote, EventSource::RfId, EventSource::Error}) {
        EventFilter f;
        f.source = src;
        SCOPED_TRACE(EventSources::name(src).toStdString());
        expectSelects(f, [src](const Expected &x) { return x.source == src; });
    }
    for (const QByteArray relay : {"0", "1", "2"}) {
        EventFilter f;
        f.relay = relay;
        expectSelects(f, [relay](const Expected &x) { return x.relay == relay; });
    }
}

TEST_F(ArchiveSelectionTest, TextIsFoundInTheRoomOrTheClientIgnoringCase)
{
    EventFilter f;
    f.text = QStringLiteral("adams");
    expectSelects(f, [](const Expected &x) { return x.client.startsWith("Adams"); });
    // Letters beyond ASCII, in the other case.
    f.text = QStringLiteral("M\u00dcLLER");
    expectSelects(f, [](const Expected &x) { return x.client == "M\xfcller J\xfcrgen"; });
    // A room number, and a part of one.
    f.text = QStringLiteral("4711");
    expectSelects(f, [](const Expected &x) { return x.room == "4711"; });
    f.text = QStringLiteral("10");
    expectSelects(f, [](const Expected &x) { return x.room.contains("10"); });
    // The markers' texts.
    f.text = QStringLiteral("incall");
    expectSelects(f, [](const Expected &x) { return x.kind == EventKind::InCall; });
    // Nothing holds it.
    f.text = QStringLiteral("Zebedee");
    expectSelects(f, [](const Expected &) { return false; });
}

TEST_F(ArchiveSelectionTest, TheDateRangeIncludesBothEdgeDays)
{
    const QDate first(2026, 2, 27);
    const QDate last(2026, 3, 1);
    EventFilter f;
    f.from = first;
    f.to = last;
    expectSelects(f, [&](const Expected &x) { return x.date >= first && x.date <= last; });
    // One day.
    f.from = f.to = first;
    expectSelects(f, [&](const Expected &x) { return x.date == first; });
    // Open at either end.
    f = {};
    f.from = last;
    expectSelects(f, [&](const Expected &x) { return x.date >= last; });
    f = {};
    f.to = first;
    expectSelects(f, [&](const Expected &x) { return x.date <= first; });
    // Before the first event and after the last.
    f = {};
    f.to = QDate(2026, 2, 25);
    expectSelects(f, [](const Expected &) { return false; });
    f = {};
    f.from = QDate(2026, 4, 1);
    expectSelects(f, [](const Expected &) { return false; });
}

TEST_F(ArchiveSelectionTest, FiltersCombine)
{
    EventFilter f;
    f.from = QDate(2026, 2, 28);
    f.kind = EventKind::Room;
    f.source = EventSource::Remote;
    f.relay = "2";
    f.text = QStringLiteral("baker");
    expectSelects(f, [](const Expected &x) {
        return x.date >= QDate(2026, 2, 28) && x.kind == EventKind::Room && x.source == EventSource::Remote
               && x.relay == "2" && x.client == "Baker Tom";
    });
}

TEST_F(ArchiveSelectionTest, RowsComeInEveryOrderBothWays)
{
    const NaturalOrder collator;
    auto when = [](const Expected &a, const Expected &b) {
        return std::tie(a.date, a.second, a.order) < std::tie(b.date, b.second, b.order);
    };
    struct Case
    {
        ArchiveColumn column;
        std::function<int(const Expected &, const Expected &)> compare; // <0, 0, >0 before the time order
    };
    const QList<Case> cases{
        {ArchiveColumn::Date, [](const Expected &, const Expected &) { return 0; }},
        {ArchiveColumn::Time, [](const Expected &, const Expected &) { return 0; }},
        {ArchiveColumn::Room,
         [&](const Expected &a, const Expected &b) {
             const int c = collator.compare(QString::fromLatin1(a.room), QString::fromLatin1(b.room));
             return c ? c : collator.compare(QString::fromLatin1(a.client), QString::fromLatin1(b.client));
         }},
        {ArchiveColumn::Client,
         [&](const Expected &a, const Expected &b) {
             const int c = collator.compare(QString::fromLatin1(a.client), QString::fromLatin1(b.client));
             return c ? c : collator.compare(QString::fromLatin1(a.room), QString::fromLatin1(b.room));
         }},
        {ArchiveColumn::Relay, [](const Expected &a, const Expected &b) { return a.relay.compare(b.relay); }},
        {ArchiveColumn::Source,
         [](const Expected &a, const Expected &b) {
             return EventSources::name(a.source).compare(EventSources::name(b.source), Qt::CaseInsensitive);
         }},
    };
    EventFilter f;
    f.from = QDate(2026, 2, 27); // a selection that starts in the middle of the archive
    ArchiveSelection s(archive);
    ASSERT_TRUE(s.select(f));
    for (const Case &c : cases) {
        QList<Expected> sorted = matching([&](const Expected &x) { return x.date >= *f.from; });
        std::sort(sorted.begin(), sorted.end(), [&](const Expected &a, const Expected &b) {
            const int k = c.compare(a, b);
            return k != 0 ? k < 0 : when(a, b);
        });
        SCOPED_TRACE(int(c.column));
        ASSERT_TRUE(s.sortBy({c.column, Qt::AscendingOrder}));
        expectRows(s, sorted);
        std::reverse(sorted.begin(), sorted.end());
        ASSERT_TRUE(s.sortBy({c.column, Qt::DescendingOrder}));
        expectRows(s, sorted);
    }
}

TEST_F(ArchiveSelectionTest, SortedByDownloadTheArchivesOrderComes)
{
    ArchiveSelection s(archive);
    ASSERT_TRUE(s.select({}));
    ASSERT_TRUE(s.sortBy({ArchiveColumn::Downloaded, Qt::AscendingOrder}));
    expectRows(s, want);
    QList<Expected> reversed(want.rbegin(), want.rend());
    ASSERT_TRUE(s.sortBy({ArchiveColumn::Downloaded, Qt::DescendingOrder}));
    expectRows(s, reversed);
    // Downloads in their order: the first brought 700, the second 100.
    QList<ArchivedEvent> rows;
    ASSERT_TRUE(s.rows(0, 1, &rows));
    const qint64 last = rows.at(0).download;
    ASSERT_TRUE(s.rows(1499, 1, &rows));
    EXPECT_LT(rows.at(0).download, last);
}

TEST_F(ArchiveSelectionTest, TheFiguresCountPerHourAndPerDayWithEmptyDays)
{
    EventFilter f;
    f.from = QDate(2026, 2, 20); // six days before the first event
    f.to = QDate(2026, 3, 10);
    f.kind = EventKind::Room;
    ArchiveSelection s(archive);
    ASSERT_TRUE(s.select(f));
    const ArchiveFigures &fig = s.figures();
    const QList<Expected> rooms = matching([](const Expected &x) { return x.kind == EventKind::Room; });
    std::array<qint64, 24> perHour{};
    QMap<QDate, qint64> perDay;
    for (const Expected &x : rooms) {
        ++perHour[size_t(x.second / 3600)];
        ++perDay[x.date];
    }
    EXPECT_EQ(fig.total, rooms.size());
    EXPECT_EQ(fig.undated, 0);
    EXPECT_EQ(fig.perHour, perHour);
    EXPECT_EQ(fig.firstDay, *f.from);
    EXPECT_EQ(fig.lastDay(), *f.to);
    ASSERT_EQ(fig.perDay.size(), f.from->daysTo(*f.to) + 1);
    for (int i = 0; i < fig.perDay.size(); ++i)
        EXPECT_EQ(fig.perDay.at(i), perDay.value(f.from->addDays(i), 0)) << f.from->addDays(i).toString().toStdString();

    // An open range spans the first event's day to the last's.
    ASSERT_TRUE(s.select({}));
    EXPECT_EQ(s.figures().firstDay, want.first().date);
    EXPECT_EQ(s.figures().lastDay(), want.last().date);
}

TEST_F(ArchiveSelectionTest, EventsWithoutADateAreCountedApartAndComeFirst)
{
    QList<QByteArray> odd = lines({room(QDateTime(QDate(2026, 3, 9), QTime(8, 0)), "55", "No Date")});
    odd[0].replace(17, 12, "FFFFFFFFFFFF");
    EventArchive::Download d;
    d.lines = odd;
    d.downloadedAt = QDateTime(QDate(2026, 3, 10), QTime(9, 0));
    ASSERT_EQ(archive.addDownload(d).added, 1);

    ArchiveSelection s(archive);
    ASSERT_TRUE(s.select({}));
    EXPECT_EQ(s.count(), 1501);
    EXPECT_EQ(s.figures().undated, 1);
    EXPECT_EQ(s.figures().untimed, 1);
    qint64 inChart = 0;
    for (qint64 n : s.figures().perHour)
        inChart += n;
    EXPECT_EQ(inChart, 1500);
    QList<ArchivedEvent> rows;
    ASSERT_TRUE(s.rows(0, 2, &rows));
    EXPECT_EQ(rows.at(0).room, "55");
    ASSERT_TRUE(s.sortBy({ArchiveColumn::Date, Qt::DescendingOrder}));
    ASSERT_TRUE(s.rows(1500, 1, &rows));
    EXPECT_EQ(rows.at(0).room, "55");

    // A date range leaves it out.
    EventFilter f;
    f.from = QDate(2000, 1, 1);
    ASSERT_TRUE(s.select(f));
    EXPECT_EQ(s.count(), 1500);
}

TEST_F(ArchiveSelectionTest, ASelectionStaysAsItWasWhileTheArchiveGrows)
{
    ArchiveSelection s(archive);
    ASSERT_TRUE(s.select({}));
    EventArchive::Download d;
    d.lines = lines(mixedLog(10, QDateTime(QDate(2026, 2, 26), QTime(0, 0, 1)), 1));
    d.downloadedAt = QDateTime(QDate(2026, 3, 10), QTime(9, 0));
    ASSERT_EQ(archive.addDownload(d).added, 10);
    // The new events fall on the first day; the rows read now are those
    // selected before, in any order taken afterwards.
    expectRows(s, want);
    for (ArchiveColumn column : {ArchiveColumn::Source, ArchiveColumn::Relay, ArchiveColumn::Client}) {
        ASSERT_TRUE(s.sortBy({column, Qt::AscendingOrder}));
        QList<ArchivedEvent> rows;
        ASSERT_TRUE(s.rows(0, 2000, &rows));
        ASSERT_EQ(rows.size(), 1500) << int(column);
        for (const ArchivedEvent &e : rows)
            ASSERT_FALSE(e.fullDate == QDate(2026, 2, 26) && *e.second < 180) << int(column);
    }
    ASSERT_TRUE(s.sortBy({}));
    ASSERT_TRUE(s.select({}));
    EXPECT_EQ(s.count(), 1510);
}

TEST_F(ArchiveSelectionTest, SlicesBeyondTheEndOrEmptyAreEmpty)
{
    ArchiveSelection s(archive);
    ASSERT_TRUE(s.select({}));
    QList<ArchivedEvent> rows;
    ASSERT_TRUE(s.rows(1500, 10, &rows));
    EXPECT_TRUE(rows.isEmpty());
    ASSERT_TRUE(s.rows(1495, 10, &rows));
    EXPECT_EQ(rows.size(), 5);
    ASSERT_TRUE(s.rows(-1, 10, &rows));
    EXPECT_TRUE(rows.isEmpty());
    int visited = 0;
    ASSERT_TRUE(s.forEach([&](const ArchivedEvent &) { return ++visited < 1000; }));
    EXPECT_EQ(visited, 1000);
}
