// What a site book of 1,000 sites costs: reading it, and File > "Sites..."
// from nothing to the first painted dialog (book read, grid filled and
// sorted, window shown and painted); then one filter keystroke. Goal: the
// dialog within 100 ms. Prints the figures; asserts nothing.
//
//   ./build/bench/sites_bench [sites] [runs]      (default 1000 sites, 7 runs)
//   CORVALEN_SCREENSHOTS=folder saves a picture of the dialog.
#include "sites/SiteBook.h"
#include "sites/widgets/SitesDialog.h"
#include "support/Recorders.h"
#include "support/Screenshot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeZone>
#include <algorithm>
#include <cstdio>

namespace {

QList<Site> sampleSites(int count)
{
    const QStringList streets = {QStringLiteral("Harbour Street"), QStringLiteral("Market Hall"),
                                 QStringLiteral("Station Road"), QStringLiteral("Müllerstraße"),
                                 QStringLiteral("Rue des Lilas")};
    const QDateTime night(QDate(2024, 5, 2), QTime(2, 0, 0), QTimeZone::utc());
    QList<Site> sites;
    for (int i = 0; i < count; ++i) {
        Site site;
        site.id = QUuid::createUuid();
        site.name = QStringLiteral("%1 %2, gate %3").arg(i / 3 + 1).arg(streets.at(i % streets.size())).arg(i % 3 + 1);
        site.address = i % 4 == 0 ? QStringLiteral("COM%1").arg(i % 4 + 1)
                                  : QStringLiteral("rfc2217://panel-%1.example.net:4001").arg(i);
        site.notes = QStringLiteral("Caretaker %1, 0161 555 %2\nPanel behind the left door").arg(i).arg(1000 + i);
        site.folder = QStringLiteral("/home/user/Documents/Corvalen-Pro/sites/site %1").arg(i);
        site.model = QStringLiteral("Corvalen_%1_Xarn").arg(QList<int>{100, 200, 500, 1000}.at(i % 4));
        site.lastContact = night.addSecs(-3600 * (i % 200));
        site.lastBackup = night.addSecs(60 * (i % 60));
        site.backupResult = i % 17 == 0 ? Site::BackupResult::Failed : Site::BackupResult::Ok;
        if (site.backupResult == Site::BackupResult::Failed)
            site.backupMessage = QStringLiteral("No Reponse from Corvalen");
        sites << site;
    }
    return sites;
}

// Waits until the grid has painted once.
class FirstPaint : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 7;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sites.txt"));
    {
        SiteBook book(path, dir.filePath(QStringLiteral("sites")));
        const QList<Site> sites = sampleSites(count);
        QString error;
        if (!book.change([&](QList<Site> &all, QString *) {
                all = sites;
                return true;
            }, &error)) {
            std::printf("cannot write the book: %s\n", qPrintable(error));
            return 1;
        }
    }
    std::printf("site book of %d sites, %lld bytes\n", count, qlonglong(QFileInfo(path).size()));

    QList<double> loads;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        SiteBook book(path);
        book.load();
        loads << double(timer.nsecsElapsed()) / 1e6;
    }
    std::printf("  read the book:            median %6.1f ms (%d runs)\n", median(loads), runs);

    QList<double> opens;
    QList<double> filters;
    for (int run = 0; run < runs; ++run) {
        RecordingPrompt prompt;
        QElapsedTimer timer;
        timer.start();
        SiteBook book(path);
        SitesDialog dialog(book, prompt);
        FirstPaint paint;
        dialog.view()->viewport()->installEventFilter(&paint);
        dialog.show();
        QElapsedTimer limit;
        limit.start();
        while (!paint.painted && limit.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        opens << double(timer.nsecsElapsed()) / 1e6;
        if (!paint.painted)
            std::printf("  (the grid did not paint within 5 s)\n");

        timer.restart();
        dialog.filterEdit()->setText(QStringLiteral("harbour"));
        QCoreApplication::processEvents();
        filters << double(timer.nsecsElapsed()) / 1e6;
        if (run == 0) {
            dialog.filterEdit()->clear();
            saveScreenshot(dialog, QStringLiteral("sites-dialog-%1").arg(count));
        }
    }
    std::printf("  Sites dialog to first paint: first %6.1f ms, median %6.1f ms (goal: at most 100 ms)\n",
                opens.first(), median(opens));
    std::printf("  filter \"harbour\":          median %6.1f ms\n", median(filters));
    return 0;
}
