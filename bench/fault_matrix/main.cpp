// fault_matrix: every bulk exchange of the program against every fault the
// virtual panel can play, on virtual time, through the window's own pages.
// Prints one mark a cell and exits 1 when a cell fails, other than those
// expected to fail until a fault of the program is mended (listed in
// IntendedCells.cpp), or when one of those no longer fails as listed.
//
//   fault_matrix [--only TEXT] [--timeout SECONDS]
//
// Marks: ok       the exchange did what it was asked
//        ok*      it did not, and said so, naming the failure that happened;
//                 nothing the user had was lost
//        n/a      the fault cannot touch this exchange
//        meant    fails a promise in the way the program is meant to behave
//        FAIL     a broken promise: see the notes under the table (those
//                 expected until a mend say which fault of the program)
// FAULT_MATRIX_DEBUG=1 prints, for every cell, the messages shown, the
// commands sent and the result compared.
#include "Cell.h"
#include "Exchange.h"
#include "Fault.h"
#include "IntendedCells.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstring>

namespace {

const char *markText(Cell::Mark m)
{
    switch (m) {
    case Cell::Mark::Ok: return "ok";
    case Cell::Mark::FailedAndSaidSo: return "ok*";
    case Cell::Mark::NotApplicable: return "n/a";
    case Cell::Mark::Fail: return "FAIL";
    case Cell::Mark::Meant: return "meant";
    }
    return "?";
}

} // namespace

int main(int argc, char **argv)
{
    QString only;
    int timeoutS = 120;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
            only = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--timeout") && i + 1 < argc)
            timeoutS = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--only TEXT] [--timeout SECONDS]\n", argv[0]);
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime; // Qt wants a private runtime folder
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));

    QElapsedTimer took;
    took.start();
    const QList<Exchange> exchanges = Exchange::all();
    const QList<Fault> faults = Fault::all();
    QStringList notes;
    QList<const IntendedCell *> meantUsed;
    QList<const ExpectedUntilFixed *> expectedSeen;
    int failures = 0, expectedFailures = 0, cells = 0;
    qint64 virtualMs = 0;

    std::printf("%-20s", "exchange");
    for (const Fault &f : faults)
        std::printf(" %-10s", f.name);
    std::printf("\n");
    for (const Exchange &x : exchanges) {
        if (!only.isEmpty() && !QString::fromLatin1(x.name).contains(only, Qt::CaseInsensitive))
            continue;
        std::printf("%-20s", x.name);
        std::fflush(stdout);
        Cell clean;
        for (const Fault &f : faults) {
            const bool isClean = &f == &faults.first();
            Cell cell;
            if (isClean) {
                cell = clean = Cell::run(x, f, nullptr, timeoutS);
            } else if (clean.mark != Cell::Mark::Ok || !f.applies(x, clean.line)) {
                cell.mark = Cell::Mark::NotApplicable;
            } else {
                cell = Cell::run(x, f, &clean, timeoutS);
            }
            if (cell.mark != Cell::Mark::NotApplicable) {
                ++cells;
                virtualMs += cell.elapsedMs;
            }
            QString mark = QString::fromLatin1(markText(cell.mark));
            if (cell.mark == Cell::Mark::Fail) {
                if (const IntendedCell *intended = IntendedCell::find(x.name, f.name, cell.reason)) {
                    cell.mark = Cell::Mark::Meant;
                    if (!meantUsed.contains(intended))
                        meantUsed << intended;
                    mark = QStringLiteral("meant%1").arg(meantUsed.indexOf(intended) + 1);
                } else {
                    QString note = QStringLiteral("[%1] %2 / %3: %4")
                                       .arg(notes.size() + 1)
                                       .arg(QLatin1String(x.name), QLatin1String(f.name), cell.reason);
                    if (const ExpectedUntilFixed *e = ExpectedUntilFixed::find(x.name, f.name, cell.reason)) {
                        ++expectedFailures;
                        expectedSeen << e;
                        note += QStringLiteral("\n     expected until mended: %1").arg(QLatin1String(e->shows));
                    } else {
                        ++failures;
                    }
                    notes << note;
                    mark = QStringLiteral("FAIL%1").arg(notes.size());
                }
            }
            std::printf(" %-10s", qPrintable(mark));
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    std::printf("\n");
    for (const QString &n : notes)
        std::printf("%s\n", qPrintable(n));
    for (int i = 0; i < meantUsed.size(); ++i)
        std::printf("[meant%d] %s / %s, %s: %s\n", i + 1, meantUsed[i]->exchange, meantUsed[i]->fault,
                    meantUsed[i]->why, meantUsed[i]->keeps);
    // A listed cell that no longer fails as listed: the mend has come (or
    // changed the failure), and the list is to follow.
    int stale = 0;
    if (only.isEmpty()) {
        for (const ExpectedUntilFixed &e : ExpectedUntilFixed::all()) {
            if (expectedSeen.contains(&e))
                continue;
            ++stale;
            std::printf("no longer fails as expected until mended (remove it from the list): %s / %s: %s\n",
                        e.exchange, e.fault, e.reason);
        }
    }
    std::printf("\n%d cells, %d failed (%d more expected until mended elsewhere); %.1f s of virtual time in %.1f s "
                "of real time\n",
                cells, failures, expectedFailures, double(virtualMs) / 1000.0, double(took.elapsed()) / 1000.0);
    return failures == 0 && stale == 0 ? 0 : 1;
}
