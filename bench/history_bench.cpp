// What the version history costs. A history of 10,000 versions of a
// 1000-entry directory, each a few residents changed from the one before
// (renamed, renumbered, moved out, moved in), is built through
// HistoryStore::add; then, each on a fresh store object as a program that
// has just started sees it:
//
//  - opening the list: the store opened and every version listed, newest
//    first, with its counts; and the History dialog built and shown on it
//    (what File, History... does; offscreen unless QT_QPA_PLATFORM says
//    otherwise);
//  - one diff of two 1000-entry versions, far apart and next to each other,
//    contents read back from their deltas included;
//  - an unchanged read: that it added no version and no copy;
//  - the size on disk, against the size of the contents themselves.
//
// Prints the figures (goals: open at most 200 ms, diff at most 50 ms);
// asserts nothing.
//
//   ./build/bench/history_bench [--versions N] [--entries N] [--keep FOLDER [--reuse]]
//
// --keep leaves the history in FOLDER; --reuse measures the one left there
// without building it again.
#include "history/HistoryContent.h"
#include "history/HistoryDiff.h"
#include "history/HistoryStore.h"
#include "history/widgets/HistoryDialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

PanelEntry resident(int n)
{
    PanelEntry e;
    e.SlotAddress = QByteArray::number(0x1000 + 0x20 * (n % 1024), 16).toUpper();
    e.RoomNumber = QByteArray::number(100 + n % 900000);
    e.Code1 = QByteArray::number(1000 + n % 9000);
    e.Code2 = QByteArray::number(2000 + n % 8000);
    e.Spare = "00";
    e.PHnumber = "0211" + QByteArray::number(n).rightJustified(6, '0');
    e.Name = "Resident " + QByteArray::number(n).rightJustified(6, '0');
    return e;
}

// A few residents changed from the version before.
void edit(QList<PanelEntry> &list, QRandomGenerator &random, int &next)
{
    for (int e = 1 + random.bounded(4); e > 0; --e) {
        const int i = random.bounded(int(list.size()));
        switch (random.bounded(4)) {
        case 0: list[i].PHnumber = "0217" + QByteArray::number(random.bounded(1000000)); break;
        case 1: list[i].Name = "Renamed " + QByteArray::number(next++); break;
        case 2: list[i].Code1 = QByteArray::number(random.bounded(10000)); break;
        default: list[i] = resident(next++); break; // one moved out, another in
        }
    }
}

double ms(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// CPU time of this thread: what a measurement costs whatever else the
// machine runs at the same time.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Times
{
    QList<double> runs;
    void add(double v) { runs.append(v); }
    double median()
    {
        std::sort(runs.begin(), runs.end());
        return runs.isEmpty() ? 0 : runs.at(runs.size() / 2);
    }
    double max() const { return runs.isEmpty() ? 0 : *std::max_element(runs.begin(), runs.end()); }
};

void checkpoint(HistoryStore &store)
{
    QSqlQuery(QSqlDatabase::database(store.connectionName())).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int versions = 10000;
    int entries = 1000;
    QString keep;
    QStringList args = app.arguments();
    const bool reuse = args.removeAll(QStringLiteral("--reuse")) > 0;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--versions"))
            versions = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--entries"))
            entries = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--keep"))
            keep = args.at(i + 1);
    }
    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;
    if (!reuse)
        QDir(folder).remove(HistoryStore::kFileName);

    QRandomGenerator random(20260314);
    QList<PanelEntry> list;
    for (int n = 0; n < entries; ++n)
        list.append(resident(n));
    int next = entries;
    const QDateTime t0(QDate(2024, 1, 1), QTime(8, 0), Qt::UTC);
    qint64 contentBytes = 0;
    QList<qint64> ids;
    if (reuse) {
        HistoryStore store(folder);
        store.open(nullptr);
        for (const HistoryVersion &v : store.versions())
            ids.prepend(v.id);
        std::printf("history of %lld versions in %s\n", qlonglong(ids.size()), qPrintable(folder));
        if (ids.size() < 2)
            return 1;
        QString why;
        if (const std::optional<QByteArray> last = store.content(ids.last(), &why))
            list = HistoryContent::parse(BackupKind::Directory, *last, &why)->entries;
        versions = int(ids.size());
        entries = int(list.size());
    } else {
        HistoryStore store(folder);
        QString why;
        if (!store.open(&why)) {
            std::printf("%s\n", qPrintable(why));
            return 1;
        }
        // Building the history is not what is measured: no sync to the disk
        // for all but the last 100 versions.
        QSqlQuery(QSqlDatabase::database(store.connectionName())).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        QElapsedTimer build;
        build.start();
        Times lastAdds, lastAddsCpu;
        for (int v = 0; v < versions; ++v) {
            if (v > 0)
                edit(list, random, next);
            if (v == versions - 100)
                QSqlQuery(QSqlDatabase::database(store.connectionName())).exec(QStringLiteral("PRAGMA synchronous=FULL"));
            HistoryRecord r;
            r.kind = BackupKind::Directory;
            r.action = v % 10 == 9 ? HistoryAction::Write : HistoryAction::Read;
            if (r.action == HistoryAction::Write)
                r.result = HistoryWriteResult{entries, entries, 0, false, {}};
            r.content = HistoryContent::ofDirectory(list);
            r.model = QStringLiteral("Xarn1000");
            r.via = HistoryVia::kWindow;
            r.time = t0.addSecs(3600LL * v);
            contentBytes += r.content.size();
            QElapsedTimer one;
            one.start();
            const double cpu = cpuMs();
            const HistoryStore::Added added = store.add(r);
            if (v >= versions - 100) {
                lastAdds.add(ms(one));
                lastAddsCpu.add(cpuMs() - cpu);
            }
            if (!added.ok()) {
                std::printf("version %d: %s\n", v, qPrintable(added.error));
                return 1;
            }
            ids.append(added.id);
        }
        std::printf("history of %d versions of a %d-entry directory (1-4 residents changed each time)\n", versions,
                    entries);
        std::printf("  built in %.1f s; adding one version (synchronous=FULL, last 100): median %.1f ms (CPU %.1f ms),"
                    " max %.1f ms\n",
                    ms(build) / 1000, lastAdds.median(), lastAddsCpu.median(), lastAdds.max());
        checkpoint(store);
        const HistoryStore::Size size = store.size();
        std::printf("  on disk: %.2f MB (%lld bytes) for %.1f MB of contents: %.0f bytes a version;"
                    " %d contents, %d of them whole copies\n",
                    double(size.bytesOnDisk) / 1e6, qlonglong(size.bytesOnDisk), double(contentBytes) / 1e6,
                    double(size.bytesOnDisk) / versions, size.contents, size.wholeCopies);
    }

    Times open, openCpu;
    int listed = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        const double cpu = cpuMs();
        HistoryStore store(folder);
        store.open(nullptr);
        listed = int(store.versions().size());
        open.add(ms(t));
        openCpu.add(cpuMs() - cpu);
    }
    std::printf("open the list (store opened, %d versions listed): median %.1f ms (CPU %.1f ms), max %.1f ms"
                " (goal 200 ms)\n",
                listed, open.median(), openCpu.median(), open.max());

    Times dialogTimes, dialogCpu;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        const double cpu = cpuMs();
        HistoryStore store(folder);
        store.open(nullptr);
        HistoryDialog dialog(store);
        dialog.show();
        QCoreApplication::processEvents();
        dialogTimes.add(ms(t));
        dialogCpu.add(cpuMs() - cpu);
    }
    std::printf("open the History dialog on it (store opened, listed, shown): median %.1f ms (CPU %.1f ms),"
                " max %.1f ms (goal 200 ms)\n",
                dialogTimes.median(), dialogCpu.median(), dialogTimes.max());

    const auto diff = [&](qint64 a, qint64 b, const char *what) {
        Times runs, cpuRuns;
        int added = 0, removed = 0, changed = 0;
        for (int run = 0; run < 5; ++run) {
            HistoryStore store(folder); // nothing cached
            store.open(nullptr);
            QElapsedTimer t;
            t.start();
            const double cpu = cpuMs();
            const std::optional<HistoryDiff> d = HistoryDiff::between(store, a, store, b, nullptr);
            const QString text = d ? d->text() : QString();
            runs.add(ms(t));
            cpuRuns.add(cpuMs() - cpu);
            if (d) {
                added = d->added();
                removed = d->removed();
                changed = d->changed();
            }
        }
        std::printf("diff of two %d-entry versions %s (%lld and %lld: %d added, %d removed, %d changed),"
                    " contents read back and text made: median %.1f ms (CPU %.1f ms), max %.1f ms (goal 50 ms)\n",
                    entries, what, qlonglong(a), qlonglong(b), added, removed, changed, runs.median(),
                    cpuRuns.median(), runs.max());
    };
    diff(ids.at(ids.size() / 2), ids.last(), "far apart");
    diff(ids.at(ids.size() - 2), ids.last(), "next to each other");

    HistoryStore store(folder);
    store.open(nullptr);
    checkpoint(store);
    const HistoryStore::Size before = store.size();
    HistoryRecord again;
    again.kind = BackupKind::Directory;
    again.content = HistoryContent::ofDirectory(list);
    again.model = QStringLiteral("Xarn1000");
    again.via = HistoryVia::kWindow;
    again.time = t0.addSecs(3600LL * versions);
    const HistoryStore::Added sighted = store.add(again);
    checkpoint(store);
    const HistoryStore::Size after = store.size();
    std::printf("unchanged read: %s of version %lld; versions %d -> %d, contents %d -> %d, bytes on disk %lld -> %lld\n",
                sighted.outcome == HistoryStore::Added::Outcome::Sighting ? "a sighting" : "NOT a sighting",
                qlonglong(sighted.id), before.versions, after.versions, before.contents, after.contents,
                qlonglong(before.bytesOnDisk), qlonglong(after.bytesOnDisk));
    return 0;
}
