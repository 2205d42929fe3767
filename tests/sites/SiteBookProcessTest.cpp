// The site book shared by separate programs: one killed in the middle of
// its saves, and two changing it at the same time.
#include "ChildProcess.h"
#include "sites/SiteBook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const char kBookVariable[] = "CORVALEN_TEST_SITE_BOOK";
const char kPrefixVariable[] = "CORVALEN_TEST_SITE_PREFIX";

QList<Site> manySites(int count)
{
    QList<Site> sites;
    for (int i = 0; i < count; ++i) {
        Site site;
        site.id = QUuid::createUuid();
        site.name = QStringLiteral("Site %1, Harbour Street").arg(i, 4, 10, QLatin1Char('0'));
        site.address = QStringLiteral("tcp://panel-%1.example.net:4001").arg(i);
        site.folder = QStringLiteral("/sites/site-%1").arg(i);
        site.notes = QStringLiteral("Caretaker %1\nKey safe by the door").arg(i);
        site.model = QStringLiteral("Corvalen_500_Xarn");
        sites << site;
    }
    return sites;
}

QProcessEnvironment environmentFor(const QString &book, const QString &prefix = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kBookVariable), book);
    environment.insert(QLatin1String(kPrefixVariable), prefix);
    return environment;
}

// Child: saves the book again and again (each time the whole book) until it
// is killed; says "saving" once the first save is done.
TEST(SiteBookChild, DISABLED_SavesUntilKilled)
{
    const QString path = qEnvironmentVariable(kBookVariable);
    ASSERT_FALSE(path.isEmpty());
    SiteBook book(path, QStringLiteral("/sites"));
    ASSERT_TRUE(book.load());
    QElapsedTimer running;
    running.start();
    for (int round = 1; running.elapsed() < 60000; ++round) {
        QString error;
        ASSERT_TRUE(book.change(
            [round](QList<Site> &sites, QString *) {
                for (Site &site : sites)
                    site.backupMessage = QStringLiteral("round %1").arg(round);
                return true;
            },
            &error))
            << qPrintable(error);
        if (round == 1) {
            fputs("saving\n", stdout);
            fflush(stdout);
        }
    }
}

// Child: adds 25 sites named after the prefix, one change each.
TEST(SiteBookChild, DISABLED_AddsSites)
{
    SiteBook book(qEnvironmentVariable(kBookVariable), QStringLiteral("/sites"));
    const QString prefix = qEnvironmentVariable(kPrefixVariable);
    for (int i = 0; i < 25; ++i) {
        Site site;
        site.name = QStringLiteral("%1 %2").arg(prefix).arg(i);
        site.address = QStringLiteral("COM1");
        QString error;
        ASSERT_TRUE(book.add(site, &error)) << qPrintable(error);
    }
}

TEST(SiteBookProcesses, AProgramKilledWhileItSavesLeavesAWholeBook)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sites.txt"));
    SiteBook book(path, QStringLiteral("/sites"));
    const QList<Site> sites = manySites(1000);
    ASSERT_TRUE(book.change([&](QList<Site> &all, QString *) {
        all = sites;
        return true;
    }));

    for (int attempt = 0; attempt < 5; ++attempt) {
        SCOPED_TRACE(attempt);
        QProcess child;
        startChild(child, QStringLiteral("SiteBookChild.DISABLED_SavesUntilKilled"), environmentFor(path));
        ASSERT_TRUE(child.waitForReadyRead(30000)) << child.readAllStandardError().constData();
        ASSERT_TRUE(child.readAllStandardOutput().contains("saving"));
        QThread::msleep(QRandomGenerator::global()->bounded(5, 60));
        child.kill(); // SIGKILL: no handler, no cleanup, wherever it was in a save
        ASSERT_TRUE(child.waitForFinished(10000));

        SiteBook after(path, QStringLiteral("/sites"));
        QString error;
        ASSERT_TRUE(after.load(&error)) << qPrintable(error);
        ASSERT_EQ(after.sites().size(), 1000);
        const QString round = after.sites().first().backupMessage;
        EXPECT_TRUE(round.startsWith(QLatin1String("round "))) << qPrintable(round);
        for (const Site &site : after.sites())
            ASSERT_EQ(site.backupMessage, round) << "one save, never parts of two";

        // The lock the killed program held is no one's any more.
        QElapsedTimer taking;
        taking.start();
        ASSERT_TRUE(after.recordOpened(after.sites().first().id, QDateTime::currentDateTimeUtc(), &error))
            << qPrintable(error);
        EXPECT_LT(taking.elapsed(), 5000);
    }
}

TEST(SiteBookProcesses, TwoProgramsAddingAtOnceLoseNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sites.txt"));
    QProcess first;
    QProcess second;
    startChild(first, QStringLiteral("SiteBookChild.DISABLED_AddsSites"), environmentFor(path, QStringLiteral("North")));
    startChild(second, QStringLiteral("SiteBookChild.DISABLED_AddsSites"), environmentFor(path, QStringLiteral("South")));
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardOutput().constData();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardOutput().constData();

    SiteBook book(path, QStringLiteral("/sites"));
    ASSERT_TRUE(book.load());
    EXPECT_EQ(book.sites().size(), 50);
    for (int i = 0; i < 25; ++i) {
        EXPECT_TRUE(book.byName(QStringLiteral("North %1").arg(i)));
        EXPECT_TRUE(book.byName(QStringLiteral("South %1").arg(i)));
    }
}

} // namespace
