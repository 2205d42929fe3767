// What the event archive costs with a million events: building it, adding a
// download of 10,000 new events, a filtered selection with its chart and
// first rows, and the program's peak memory with the archive view open on it
// (offscreen, in a process of its own). Prints the figures; asserts nothing.
//
//   ./build/bench/archive_bench                 # a fresh archive in a temporary folder
//   ./build/bench/archive_bench --keep DIR      # build it in DIR once, reuse it afterwards
//   ./build/bench/archive_bench --events N      # another size
#include "PanelEvent.h"
#include "PanelLines.h"
#include "archive/ArchiveSelection.h"
#include "archive/ArchiveTableModel.h"
#include "archive/EventArchive.h"
#include "archive/EventReport.h"
#include "archive/widgets/ArchiveView.h"

#include <QApplication>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A building of 300 residents over some years: mostly gate releases by the
// keypad, the phone and tags, with button presses, calls and errors, about
// one event every 100 seconds, more by day than by night.
class LogMaker
{
public:
    LogMaker()
    {
        static const char *const first[] = {"Adams", "Baker", "Clarke", "Dubois", "Evans", "Fischer", "Garcia",
                                            "Hughes", "Iqbal", "Jones", "Kowalski", "Lopez", "M\xfcller", "Nowak",
                                            "O'Brien"};
        static const char *const given[] = {"Ann", "Ben", "Cleo", "Dan", "Eve", "Finn", "Gus", "Hal", "Ida", "Jo",
                                            "Kim", "Lee", "Max", "Ned", "Ola", "Pat", "Rob", "Sam", "Tim", "Una"};
        for (int i = 0; i < 300; ++i)
            residents_.append({QByteArray::number(100 + i / 20 * 100 + i % 20 + 1),
                               QByteArray(first[i % 15]) + ' ' + given[(i * 7) % 20]});
    }

    // Events number `from` to `from + count - 1` of the building's history.
    QList<QByteArray> lines(qint64 from, int count)
    {
        QList<QByteArray> out;
        out.reserve(count);
        for (qint64 n = from; n < from + count; ++n) {
            QRandomGenerator random(quint32(n * 2654435761u));
            PanelEvent e;
            // About 100 s apart on average, crowded in the day.
            const qint64 day = n / 860;
            const int inDay = int(n % 860);
            const int second = inDay < 100 ? inDay * 250 : 25000 + (inDay - 100) * 80;
            e.when = QDateTime(QDate(2020, 1, 1).addDays(day), QTime(0, 0)).addSecs(qMin(second, 86399));
            const int kind = random.bounded(20);
            if (kind < 14) {
                const auto &r = residents_.at(random.bounded(int(residents_.size())));
                e.kind = PanelEvent::Kind::Room;
                e.room = r.first;
                e.name = r.second;
                e.relay = random.bounded(4) == 0 ? 2 : 1;
                e.source = random.bounded(3);
            } else if (kind < 16) {
                e.kind = PanelEvent::Kind::Button;
                e.digit = 1 + random.bounded(8);
                e.relay = 0;
            } else if (kind < 19) {
                e.kind = PanelEvent::Kind::Call;
                e.relay = random.bounded(2);
                e.source = PanelEvent::Remote;
            } else {
                e.kind = PanelEvent::Kind::Error;
                e.digit = 1 + random.bounded(3);
                e.relay = 0;
            }
            out.append(PanelLines::eventLine(int(n % 10000) + 1, e));
        }
        return out;
    }

    QDateTime timeOf(qint64 n) { return QDateTime(QDate(2020, 1, 1).addDays(n / 860 + 1), QTime(6, 0)); }

private:
    QList<QPair<QByteArray, QByteArray>> residents_;
};

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

qint64 peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

bool build(EventArchive &archive, LogMaker &maker, qint64 events)
{
    const qint64 have = archive.eventCount();
    if (have == events) {
        std::printf("archive of %lld events reused\n", qlonglong(have));
        return true;
    }
    if (have != 0) {
        std::printf("the folder holds an archive of %lld events, not %lld: give another --keep folder\n",
                    qlonglong(have), qlonglong(events));
        return false;
    }
    QElapsedTimer t;
    t.start();
    for (qint64 from = 0; from < events; from += 10000) {
        EventArchive::Download d;
        d.lines = maker.lines(from, int(qMin<qint64>(10000, events - from)));
        d.downloadedAt = maker.timeOf(from + d.lines.size());
        d.via = QStringLiteral("archive_bench");
        const EventArchive::Added a = archive.addDownload(d);
        if (!a.ok) {
            std::printf("building failed: %s\n", qPrintable(a.error));
            return false;
        }
    }
    std::printf("built an archive of %lld events in %.1f s (%s, %.0f MB)\n", qlonglong(archive.eventCount()),
                msSince(t) / 1000, qPrintable(archive.fileName()),
                double(QFileInfo(archive.fileName()).size()) / 1e6);
    return true;
}

void import(EventArchive &archive, LogMaker &maker, qint64 events)
{
    // The panel's log as the next download finds it: 2,000 events the
    // archive holds, then 10,000 new ones.
    EventArchive::Download d;
    d.lines = maker.lines(events - 2000, 12000);
    d.downloadedAt = maker.timeOf(events + 10000);
    d.via = QStringLiteral("archive_bench");
    QElapsedTimer t;
    t.start();
    const EventArchive::Added a = archive.addDownload(d);
    std::printf("import of a download of %d lines, %d new: %.0f ms (goal 1000 ms)%s\n", a.received, a.added,
                msSince(t), a.ok ? "" : qPrintable(QStringLiteral(" FAILED: ") + a.error));
}

void queries(EventArchive &archive)
{
    struct Case
    {
        const char *what;
        EventFilter filter;
        ArchiveSort sort;
    };
    QList<Case> cases;
    cases.append({"everything", {}, {}});
    EventFilter month;
    month.from = QDate(2021, 6, 1);
    month.to = QDate(2021, 6, 30);
    cases.append({"one month", month, {}});
    EventFilter text;
    text.text = QStringLiteral("m\u00fcller");
    cases.append({"a resident's name, all dates", text, {}});
    EventFilter calls;
    calls.kind = EventKind::InCall;
    calls.source = EventSource::Remote;
    calls.from = QDate(2021, 1, 1);
    calls.to = QDate(2021, 12, 31);
    cases.append({"calls from the phone in a year", calls, {}});
    EventFilter relay;
    relay.relay = "2";
    relay.kind = EventKind::Room;
    cases.append({"relay 2, all dates, newest first", relay, {ArchiveColumn::Date, Qt::DescendingOrder}});
    cases.append({"everything by client (a click on its title)", {}, {ArchiveColumn::Client, Qt::AscendingOrder}});

    std::printf("selection, chart figures and the first 100 rows (best of 3):\n");
    for (const Case &c : cases) {
        double best = 1e9;
        qint64 count = 0;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer t;
            t.start();
            ArchiveSelection s(archive);
            QList<ArchivedEvent> rows;
            const bool ok = s.select(c.filter) && s.sortBy(c.sort) && s.rows(0, 100, &rows);
            best = qMin(best, msSince(t));
            count = ok ? s.count() : -1;
        }
        std::printf("  %-46s %8lld events  %6.1f ms (goal 100 ms)\n", c.what, qlonglong(count), best);
    }
    // Far down the list: the middle of everything, by when and by client.
    ArchiveSelection s(archive);
    s.select({});
    for (ArchiveColumn column : {ArchiveColumn::Date, ArchiveColumn::Client}) {
        s.sortBy({column, Qt::AscendingOrder});
        QElapsedTimer t;
        t.start();
        QList<ArchivedEvent> rows;
        s.rows(s.count() / 2, 100, &rows);
        std::printf("  100 rows from the middle, %s%*s %6.1f ms\n",
                    column == ArchiveColumn::Date ? "by when" : "by client",
                    column == ArchiveColumn::Date ? 26 : 24, "", msSince(t));
    }
}

// A month's report as a PDF: every event of the month, with the chart.
void monthReport(EventArchive &archive, const QString &folder)
{
    ArchiveSelection s(archive);
    EventFilter month;
    month.from = QDate(2021, 6, 1);
    month.to = QDate(2021, 6, 30);
    s.select(month);
    const QString file = QDir(folder).filePath(QStringLiteral("month-report.pdf"));
    QElapsedTimer t;
    t.start();
    QString error;
    const bool ok = EventReport::writePdf(s, QStringLiteral("Bench Court"), file, &error);
    std::printf("report of one month (%lld events) as PDF: %.1f s, %.1f MB%s (%s)\n", qlonglong(s.count()),
                msSince(t) / 1000, double(QFileInfo(file).size()) / 1e6, ok ? "" : qPrintable(QStringLiteral(" FAILED: ") + error),
                qPrintable(file));
}

// The archive view open on the archive, as the window would show it.
int viewMemory(const QString &folder)
{
    EventArchive archive(folder);
    if (!archive.open())
        return 1;
    QElapsedTimer t;
    t.start();
    ArchiveView view(archive);
    view.resize(1280, 800);
    view.show();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    const double openMs = msSince(t);
    // Scrolled through, as a user drags the scroll bar to the end and back.
    QTableView *grid = view.findChild<QTableView *>(QStringLiteral("archiveGrid"));
    for (int step = 0; grid && step <= 20; ++step) {
        grid->scrollTo(view.model().index(int(qint64(view.model().rowCount() - 1) * step / 20), 0));
        QCoreApplication::processEvents();
    }
    std::printf("archive view open on %lld events: %.0f ms to show, peak memory (VmHWM) %.1f MB (goal 150 MB)\n",
                qlonglong(archive.eventCount()), openMs, double(peakKb()) / 1024);
    if (!qEnvironmentVariableIsEmpty("CORVALEN_SCREENSHOTS"))
        view.grab().save(QDir(qEnvironmentVariable("CORVALEN_SCREENSHOTS")).filePath(QStringLiteral("archive-bench.png")));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QStringList args = [&] {
        QStringList a;
        for (int i = 1; i < argc; ++i)
            a << QString::fromLocal8Bit(argv[i]);
        return a;
    }();
    if (args.value(0) == u"--view-memory") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return viewMemory(args.value(1));
    }
    // The report paints text: a QGuiApplication, without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qint64 events = 1000000;
    QString keep;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == u"--events")
            events = args.value(++i).toLongLong();
        else if (args.at(i) == u"--keep")
            keep = args.value(++i);
    }
    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;
    LogMaker maker;
    {
        EventArchive archive(folder);
        QString error;
        if (!archive.open(&error)) {
            std::printf("%s\n", qPrintable(error));
            return 1;
        }
        if (!build(archive, maker, events))
            return 1;
        queries(archive);
        monthReport(archive, keep.isEmpty() ? temp.path() : keep);
    }
    {
        // The import goes into a copy, so that a kept archive stays as built.
        QTemporaryDir copyDir;
        QFile::copy(QDir(folder).filePath(QStringLiteral("events.sqlite")),
                    QDir(copyDir.path()).filePath(QStringLiteral("events.sqlite")));
        EventArchive copy(copyDir.path());
        if (copy.open())
            import(copy, maker, events);
    }
    std::fflush(stdout);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--view-memory"), folder});
    child.waitForFinished(600000);
    return 0;
}
