// Several programs at one history: two processes adding versions at once
// lose nothing and keep the order and counts consistent; a process killed
// while it saves, and a full disk, leave everything committed before
// readable. The other process is this test executable, started on the
// HistoryChild test below with its orders in the environment.
#include "HistoryTestData.h"

#include "history/HistoryDiff.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <algorithm>

using namespace HistoryTestData;

namespace {

const char *const kFolder = "CORVALEN_HISTORY_CHILD_FOLDER";
const char *const kCount = "CORVALEN_HISTORY_CHILD_COUNT";
const char *const kTag = "CORVALEN_HISTORY_CHILD_TAG";

// What child `tag` adds as its i-th version: distinct from every other.
QList<PanelEntry> childList(const QByteArray &tag, int i, int size)
{
    QList<PanelEntry> list = residents(size);
    list[i % size].Name = tag + " " + QByteArray::number(i);
    return list;
}

QProcess *startChild(const QString &folder, int count, const QByteArray &tag, int size)
{
    auto *child = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(kFolder), folder);
    env.insert(QLatin1String(kCount), QString::number(count));
    env.insert(QLatin1String(kTag), QString::fromLatin1(tag) + QLatin1Char(':') + QString::number(size));
    child->setProcessEnvironment(env);
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=HistoryChild.AddsVersions")});
    return child;
}

// The ids a child reported as committed.
QList<qint64> reportedIds(const QByteArray &output)
{
    QList<qint64> ids;
    for (const QByteArray &line : output.split('\n'))
        if (line.startsWith("added "))
            ids.append(line.mid(6).toLongLong());
    return ids;
}

} // namespace

// Not a test of its own: the other process of the tests below.
TEST(HistoryChild, AddsVersions)
{
    if (qEnvironmentVariableIsEmpty(kFolder))
        GTEST_SKIP() << "run by the multi-process tests";
    const QList<QByteArray> tag = qgetenv(kTag).split(':');
    const int size = tag.value(1).toInt();
    HistoryStore store(qEnvironmentVariable(kFolder));
    QString why;
    ASSERT_TRUE(store.open(&why)) << why.toStdString();
    const int count = qEnvironmentVariableIntValue(kCount);
    for (int i = 0; i < count; ++i) {
        HistoryRecord r = readDirectory(childList(tag.first(), i, size));
        r.via = QString::fromLatin1(tag.first());
        const HistoryStore::Added added = store.add(r);
        ASSERT_TRUE(added.ok()) << added.error.toStdString();
        ASSERT_EQ(added.outcome, HistoryStore::Added::Outcome::Added);
        printf("added %lld\n", added.id);
        fflush(stdout);
    }
}

TEST(HistoryProcesses, TwoAddingAtOnceLoseNothingAndKeepOrderAndCounts)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("site"));
    constexpr int kEach = 40;
    constexpr int kSize = 60;
    std::unique_ptr<QProcess> a(startChild(folder, kEach, "alpha", kSize));
    std::unique_ptr<QProcess> b(startChild(folder, kEach, "beta", kSize));
    for (QProcess *p : {a.get(), b.get()}) {
        ASSERT_TRUE(p->waitForFinished(180000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0);
    }
    const QList<qint64> idsA = reportedIds(a->readAllStandardOutput());
    const QList<qint64> idsB = reportedIds(b->readAllStandardOutput());
    ASSERT_EQ(idsA.size(), kEach);
    ASSERT_EQ(idsB.size(), kEach);

    HistoryStore store(folder);
    ASSERT_TRUE(store.open(nullptr));
    QList<HistoryVersion> all = store.versions();
    ASSERT_EQ(all.size(), 2 * kEach);
    for (int i = 0; i < kEach; ++i) {
        for (const auto &[ids, tag] : {std::pair(idsA, QByteArray("alpha")), std::pair(idsB, QByteArray("beta"))}) {
            QString why;
            const std::optional<QByteArray> bytes = store.content(ids.at(i), &why);
            ASSERT_TRUE(bytes) << why.toStdString();
            EXPECT_EQ(*bytes, HistoryContent::ofDirectory(childList(tag, i, kSize)));
            EXPECT_EQ(store.version(ids.at(i))->via, QString::fromLatin1(tag));
        }
    }
    // Oldest first: each version follows the one before it in time, and its
    // counts are those of the comparison with it, however the two
    // processes' saves interleaved.
    std::reverse(all.begin(), all.end());
    EXPECT_TRUE(all.first().isFirst());
    for (int i = 1; i < all.size(); ++i) {
        ASSERT_EQ(all.at(i).previous, all.at(i - 1).id) << i;
        const std::optional<HistoryDiff> diff = HistoryDiff::between(store, all.at(i - 1).id, store, all.at(i).id, nullptr);
        ASSERT_TRUE(diff);
        EXPECT_EQ(all.at(i).added, diff->added());
        EXPECT_EQ(all.at(i).removed, diff->removed());
        EXPECT_EQ(all.at(i).changed, diff->changed());
    }
}

TEST(HistoryProcesses, AProcessKilledWhileSavingLeavesEverythingCommittedReadable)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("site"));
    constexpr int kSize = 1000; // large versions: most of the child's time is spent saving
    std::unique_ptr<QProcess> child(startChild(folder, 100000, "crash", kSize));
    QByteArray output;
    const QDeadlineTimer deadline(120000);
    while (reportedIds(output).size() < 15 && !deadline.hasExpired() && child->state() != QProcess::NotRunning) {
        child->waitForReadyRead(1000);
        output += child->readAllStandardOutput();
    }
    ASSERT_GE(reportedIds(output).size(), 15);
    child->kill(); // SIGKILL, wherever it is
    ASSERT_TRUE(child->waitForFinished(30000));
    output += child->readAllStandardOutput();
    const QList<qint64> committed = reportedIds(output);

    HistoryStore store(folder);
    QString why;
    ASSERT_TRUE(store.open(&why)) << why.toStdString();
    {
        QSqlQuery q(QSqlDatabase::database(store.connectionName()));
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("ok"));
    }
    const QList<HistoryVersion> all = store.versions();
    // At most the one being saved when it died got in without being reported.
    EXPECT_GE(all.size(), committed.size());
    EXPECT_LE(all.size(), committed.size() + 1);
    for (int i = 0; i < committed.size(); ++i) {
        const std::optional<QByteArray> bytes = store.content(committed.at(i), &why);
        ASSERT_TRUE(bytes) << why.toStdString();
        EXPECT_EQ(*bytes, HistoryContent::ofDirectory(childList("crash", i, kSize)));
    }
    EXPECT_TRUE(store.add(readDirectory(residents(3))).ok());
}

TEST_F(Folder, AFullDiskRefusesTheVersionAndKeepsEveryOneBefore)
{
    const QList<PanelEntry> small = residents(10);
    const qint64 kept = add(readDirectory(small, at(0)));
    QSqlDatabase db = QSqlDatabase::database(store.connectionName());
    QSqlQuery q(db);
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA page_count")) && q.next());
    const int pages = q.value(0).toInt();
    q.finish();
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)));
    q.finish();

    // A thousand new residents need pages the disk no longer has.
    QList<PanelEntry> big;
    for (int n = 0; n < 1000; ++n)
        big.append(resident(5000 + n));
    const HistoryStore::Added refused = store.add(readDirectory(big, at(1)));
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error.contains(QLatin1String("disk is full"))) << refused.error.toStdString();

    HistoryStore other(store.folder());
    ASSERT_TRUE(other.open(nullptr));
    const QList<HistoryVersion> all = other.versions();
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all.first().id, kept);
    EXPECT_EQ(other.content(kept, nullptr), HistoryContent::ofDirectory(small));

    // With room again the same store goes on.
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA max_page_count = 1000000")));
    q.finish();
    const HistoryStore::Added later = store.add(readDirectory(big, at(2)));
    ASSERT_TRUE(later.ok()) << later.error.toStdString();
    EXPECT_EQ(store.content(later.id, nullptr), HistoryContent::ofDirectory(big));
}
