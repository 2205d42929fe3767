// Two processes record downloads into one archive at the same time (the
// window and the command line, or the backup job): nothing is lost, nothing
// is stored twice, and no download is split by another.
#include "ArchiveTestData.h"
#include "archive/ArchiveSelection.h"
#include "archive/EventArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {
using namespace ArchiveTestData;

constexpr int kOwnDownloads = 25;
constexpr int kOwnLines = 40;
constexpr int kSharedRounds = 8;
constexpr int kSharedStep = 30;
const char kWriterVariable[] = "CORVALEN_ARCHIVE_WRITER";

// Events only one writer logs: its own rooms, its own seconds.
QList<PanelEvent> ownLog(int writer, int download)
{
    QList<PanelEvent> log;
    const QDateTime start(QDate(2026, 1, 1 + writer), QTime(0, 0, 0));
    for (int i = 0; i < kOwnLines; ++i)
        log << room(start.addSecs(download * 1000 + i), QByteArray::number(100 * (writer + 1) + i % 10),
                    "Writer " + QByteArray::number(writer));
    return log;
}

// A log both writers download, growing by kSharedStep events a round.
QList<PanelEvent> sharedLog()
{
    return mixedLog(kSharedRounds * kSharedStep, QDateTime(QDate(2026, 2, 1), QTime(0, 0, 0)));
}

bool waitForFile(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(path)) {
        if (timer.hasExpired(60000))
            return false;
        QThread::msleep(2);
    }
    return true;
}

void touch(const QString &path)
{
    QFile f(path);
    (void)f.open(QIODevice::WriteOnly);
}

QList<QByteArray> keysOf(const QList<QByteArray> &lines)
{
    QList<QByteArray> out;
    for (const QByteArray &l : lines)
        out << l.mid(5);
    return out;
}
} // namespace

// Not a test of its own: the body of each writer process that the test below
// starts (it is skipped when run without the variable).
TEST(ArchiveWriterProcess, Run)
{
    const QStringList args = qEnvironmentVariable(kWriterVariable).split(u';');
    if (args.size() != 2)
        GTEST_SKIP() << "started by ArchiveProcesses only";
    const QDir folder(args.at(0));
    const int writer = args.at(1).toInt();
    const int other = 1 - writer;
    EventArchive archive(folder.path());
    QString error;
    ASSERT_TRUE(archive.open(&error)) << error.toStdString();

    // Both start together.
    touch(folder.filePath(QStringLiteral("ready-%1").arg(writer)));
    ASSERT_TRUE(waitForFile(folder.filePath(QStringLiteral("ready-%1").arg(other))));

    for (int n = 0; n < kOwnDownloads; ++n) {
        EventArchive::Download d;
        d.lines = lines(ownLog(writer, n));
        d.downloadedAt = QDateTime(QDate(2026, 3, 1), QTime(12, 0));
        d.via = QStringLiteral("writer %1").arg(writer);
        const EventArchive::Added added = archive.addDownload(d);
        ASSERT_TRUE(added.ok) << added.error.toStdString();
        ASSERT_EQ(added.added, kOwnLines);
    }

    // Then the same growing log, downloaded by both in each round.
    const QList<PanelEvent> shared = sharedLog();
    for (int round = 0; round < kSharedRounds; ++round) {
        touch(folder.filePath(QStringLiteral("round-%1-%2").arg(round).arg(writer)));
        ASSERT_TRUE(waitForFile(folder.filePath(QStringLiteral("round-%1-%2").arg(round).arg(other))));
        EventArchive::Download d;
        d.lines = lines(shared.mid(0, (round + 1) * kSharedStep));
        d.downloadedAt = QDateTime(QDate(2026, 3, 1), QTime(12, 0));
        d.via = QStringLiteral("writer %1").arg(writer);
        const EventArchive::Added added = archive.addDownload(d);
        ASSERT_TRUE(added.ok) << added.error.toStdString();
        // Wait until both have recorded this round before the next.
        touch(folder.filePath(QStringLiteral("done-%1-%2").arg(round).arg(writer)));
        ASSERT_TRUE(waitForFile(folder.filePath(QStringLiteral("done-%1-%2").arg(round).arg(other))));
    }
}

TEST(ArchiveProcesses, TwoWritersAtOnceLoseNothingAndStoreNothingTwice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QList<QProcess *> writers;
    for (int writer = 0; writer < 2; ++writer) {
        auto *p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kWriterVariable), dir.path() + u';' + QString::number(writer));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ArchiveWriterProcess.Run")});
        writers << p;
    }
    for (QProcess *p : writers) {
        ASSERT_TRUE(p->waitForFinished(180000));
        const QByteArray output = p->readAll();
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    }
    qDeleteAll(writers);

    EventArchive archive(dir.path());
    ASSERT_TRUE(archive.open());
    const int shared = kSharedRounds * kSharedStep;
    ASSERT_EQ(archive.eventCount(), 2 * kOwnDownloads * kOwnLines + shared);

    ArchiveSelection s(archive);
    ASSERT_TRUE(s.select({}));
    ASSERT_TRUE(s.sortBy({ArchiveColumn::Downloaded, Qt::AscendingOrder}));
    QList<ArchivedEvent> rows;
    ASSERT_TRUE(s.rows(0, int(s.count()), &rows));

    // Each writer's own downloads stand whole, each in one run, in order.
    QSet<QByteArray> seen;
    for (int i = 0; i < 2 * kOwnDownloads * kOwnLines; i += kOwnLines) {
        const qint64 download = rows.at(i).download;
        const QList<QByteArray> run = [&] {
            QList<QByteArray> out;
            for (int k = 0; k < kOwnLines; ++k) {
                EXPECT_EQ(rows.at(i + k).download, download) << "row " << i + k;
                out << rows.at(i + k).line.mid(5);
            }
            return out;
        }();
        bool found = false;
        for (int writer = 0; writer < 2 && !found; ++writer)
            for (int n = 0; n < kOwnDownloads && !found; ++n)
                found = run == keysOf(lines(ownLog(writer, n)));
        EXPECT_TRUE(found) << "rows " << i << " are no download of a writer";
        for (const QByteArray &key : run)
            EXPECT_FALSE(seen.contains(key));
        seen.unite(QSet<QByteArray>(run.begin(), run.end()));
    }
    // The shared log once, in order, at the end.
    QList<QByteArray> tail;
    for (qsizetype i = rows.size() - shared; i < rows.size(); ++i)
        tail << rows.at(i).line.mid(5);
    EXPECT_EQ(tail, keysOf(lines(sharedLog())));
    EXPECT_EQ(archive.downloads().size(), 2 * kOwnDownloads + 2 * kSharedRounds);
}
