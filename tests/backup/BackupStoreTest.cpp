// The backups folder: names, saving all files of a backup or none, the list
// newest first, and the retention rule on a clock of the test's choosing.
#include "backup/BackupContent.h"
#include "backup/BackupRetention.h"
#include "backup/BackupStore.h"
#include "parameters/ParameterRecordSet.h"
#include "rfid/StoreImage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
const QDateTime kNoon(QDate(2026, 12, 8), QTime(14, 30, 12));

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

BackupEntry entryAt(const QDateTime &when, BackupKind kind = BackupKind::Directory)
{
    BackupEntry e;
    e.name.when = when;
    e.name.model = QStringLiteral("Xarn1000");
    e.name.kind = kind;
    e.name.suffix = BackupKinds::primarySuffix(kind);
    return e;
}

struct Folder : ::testing::Test
{
    QTemporaryDir dir;
    QDateTime now = kNoon;
    BackupStore store{dir.filePath(QStringLiteral("data/corvalen-pro/backups")), [this] { return now; }};

    BackupStore::Saved saveList(const QByteArray &csv, int count)
    {
        return store.save(BackupKind::Directory, QStringLiteral("Xarn1000"), {{QStringLiteral("csv"), csv}}, count);
    }
};
} // namespace

TEST(BackupNames, CarryDateModelKindAndASerialForTheSameSecond)
{
    BackupName name;
    name.when = kNoon;
    name.model = BackupName::modelToken(0x9000);
    name.kind = BackupKind::Directory;
    name.suffix = QStringLiteral("csv");
    EXPECT_EQ(name.fileName(), QStringLiteral("2026-12-08_143012_Xarn1000_directory.csv"));
    name.serial = 2;
    name.kind = BackupKind::Tags;
    name.suffix = QStringLiteral("rfid");
    EXPECT_EQ(name.fileName(), QStringLiteral("2026-12-08_143012_Xarn1000_tags-2.rfid"));

    const std::optional<BackupName> back = BackupName::parse(name.fileName());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->when, kNoon);
    EXPECT_EQ(back->model, QStringLiteral("Xarn1000"));
    EXPECT_EQ(back->kind, BackupKind::Tags);
    EXPECT_EQ(back->serial, 2);
    EXPECT_EQ(back->suffix, QStringLiteral("rfid"));

    for (const char *foreign : {"CorvalenPhList.csv", "2026-12-08_143012_Xarn1000_events.csv",
                                "2026-13-08_143012_Xarn1000_directory.csv", "2026-12-08_143012__directory.csv",
                                "2026-12-08_143012_Xarn1000_directory.csv.tmp", "2026-12-08_143012_Xarn1000_tags-0.rfid"})
        EXPECT_FALSE(BackupName::parse(QLatin1String(foreign))) << foreign;
    EXPECT_EQ(BackupName::modelToken(0x1D00), QStringLiteral("Xarn100"));
    EXPECT_EQ(BackupName::modelToken(0x5100), QStringLiteral("Xarn500"));
    EXPECT_EQ(BackupName::modelToken(0), QStringLiteral("XarnUnknown"));
}

TEST_F(Folder, ABackupIsWrittenWholeForItsOwnerAndListedNewestFirstWithItsCount)
{
    const QByteArray csv = "Name,RoomNumber,PHnumber,Code1,Code2,spare,RFID,Addr\r\n"
                           "Adams Helen,101,0211,,,,,1000\r\nBaker Tom,102,0217,,,,,1040\r\n";
    const BackupStore::Saved first = saveList(csv, 2);
    ASSERT_TRUE(first.entry) << qPrintable(first.error);
    EXPECT_EQ(QFileInfo(first.entry->path).fileName(), QStringLiteral("2026-12-08_143012_Xarn1000_directory.csv"));
    EXPECT_EQ(readFile(first.entry->path), csv);
    EXPECT_EQ(QFile::permissions(first.entry->path) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    // The same second again, and parameters later: a second name, both files of it.
    const BackupStore::Saved second = saveList(csv, 2);
    ASSERT_TRUE(second.entry);
    EXPECT_EQ(second.entry->fileName(), QStringLiteral("2026-12-08_143012_Xarn1000_directory-2.csv"));
    now = now.addSecs(60);
    ParameterRecordSet records;
    for (int r = 1; r <= 10; ++r)
        records.setRecord(r, QByteArray(32, char('0' + r)));
    const BackupStore::Saved params = store.save(
        BackupKind::Parameters, QStringLiteral("Xarn1000"),
        {{QStringLiteral("sys"), QByteArray(467, '\0')}, {QStringLiteral("records"), records.toFile()}}, 10);
    ASSERT_TRUE(params.entry);
    EXPECT_EQ(params.entry->files.size(), 2);

    QFile foreign(QDir(store.folder()).filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.close();

    const QList<BackupEntry> list = store.list();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].kind(), BackupKind::Parameters);
    EXPECT_EQ(list[0].countText(), QStringLiteral("10 records"));
    EXPECT_EQ(list[0].files.size(), 2);
    EXPECT_EQ(list[1].fileName(), QStringLiteral("2026-12-08_143012_Xarn1000_directory-2.csv"));
    EXPECT_EQ(list[2].countText(), QStringLiteral("2 residents"));
    EXPECT_FALSE(BackupContent::fileWithSuffix(list[0], QStringLiteral("records")).isEmpty());
}

TEST_F(Folder, AFolderThatCannotBeMadeOrWrittenSaysWhyAndLeavesNothingBehind)
{
    // The data folder's place is taken by a file: no folder can be made there.
    QFile blocker(dir.filePath(QStringLiteral("data")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const BackupStore::Saved saved = saveList("Name\r\n", 0);
    EXPECT_FALSE(saved.entry);
    EXPECT_EQ(saved.error, QStringLiteral("Cannot create folder %1").arg(QDir::toNativeSeparators(store.folder())));

    // A second file that cannot be written takes the first one with it (its
    // name leads into a folder that does not exist).
    QFile::remove(blocker.fileName());
    const BackupStore::Saved half = store.save(BackupKind::Parameters, QStringLiteral("Xarn1000"),
                                               {{QStringLiteral("sys"), QByteArray(467, '\0')},
                                                {QStringLiteral("none/records"), QByteArray("x")}},
                                               10);
    EXPECT_FALSE(half.entry);
    EXPECT_TRUE(half.error.startsWith(QStringLiteral("Cannot create file "))) << qPrintable(half.error);
    EXPECT_TRUE(QDir(store.folder()).entryList(QDir::Files).isEmpty());
}

TEST_F(Folder, AReadOnlyFolderRefusesTheBackup)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    ASSERT_TRUE(QDir().mkpath(store.folder()));
    ASSERT_TRUE(QFile::setPermissions(store.folder(), QFile::ReadOwner | QFile::ExeOwner));
    const BackupStore::Saved saved = saveList("Name\r\n", 0);
    QFile::setPermissions(store.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(saved.entry);
    EXPECT_TRUE(saved.error.startsWith(QStringLiteral("Cannot create file "))) << qPrintable(saved.error);
}

TEST(BackupRetentionRule, KeepsTheNewestHundredOfEachKindAndEveryOneYoungerThanThirtyDays)
{
    QList<BackupEntry> entries;
    // 150 phone lists, one every 12 hours back from now: the newest 100 reach
    // back 49.5 days; 60 of them are younger than 30 days.
    for (int i = 0; i < 150; ++i)
        entries << entryAt(kNoon.addSecs(-i * 12 * 3600));
    // Parameters: two old ones, both among the newest hundred of their kind.
    entries << entryAt(kNoon.addDays(-400), BackupKind::Parameters)
            << entryAt(kNoon.addDays(-300), BackupKind::Parameters);
    const QList<BackupEntry> gone = BackupRetention::expired(entries, kNoon);
    ASSERT_EQ(gone.size(), 50);
    for (const BackupEntry &e : gone) {
        EXPECT_EQ(e.kind(), BackupKind::Directory);
        EXPECT_LE(e.name.when, kNoon.addDays(-50)) << qPrintable(e.name.when.toString());
    }

    // 200 taken within the last 20 days: none may go.
    QList<BackupEntry> busy;
    for (int i = 0; i < 200; ++i)
        busy << entryAt(kNoon.addSecs(-i * 2 * 3600));
    EXPECT_TRUE(BackupRetention::expired(busy, kNoon).isEmpty());

    // Exactly thirty days old and beyond the hundred: it may go; a second younger it stays.
    QList<BackupEntry> edge;
    for (int i = 0; i < 100; ++i)
        edge << entryAt(kNoon.addSecs(-i));
    edge << entryAt(kNoon.addDays(-30)) << entryAt(kNoon.addDays(-30).addSecs(1));
    const QList<BackupEntry> edgeGone = BackupRetention::expired(edge, kNoon);
    ASSERT_EQ(edgeGone.size(), 1);
    EXPECT_EQ(edgeGone[0].name.when, kNoon.addDays(-30));
}

TEST_F(Folder, SavingDeletesOnlyWhatTheRuleLetsGo)
{
    // 105 backups, one a day, the oldest 105 days back; then a new one today.
    for (int day = 105; day >= 1; --day) {
        now = kNoon.addDays(-day);
        ASSERT_TRUE(saveList("Name\r\n", 0).entry);
    }
    now = kNoon;
    ASSERT_TRUE(saveList("Name\r\n", 0).entry);
    const QList<BackupEntry> left = store.list();
    ASSERT_EQ(left.size(), 100);
    EXPECT_EQ(left.first().name.when, kNoon);
    EXPECT_EQ(left.last().name.when, kNoon.addDays(-99));
}
