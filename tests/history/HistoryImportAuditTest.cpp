// Backups read into the history once, at their own times; the audit list of
// writes and its spreadsheet export.
#include "HistoryTestData.h"

#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "backup/BackupStore.h"
#include "history/HistoryAudit.h"
#include "history/HistoryImport.h"
#include "table/CsvText.h"

#include <QFile>

using namespace HistoryTestData;

namespace {

struct Backups : Folder
{
    QDateTime backupTime = QDateTime(QDate(2025, 11, 2), QTime(8, 15, 30));
    BackupStore backups{dir.filePath(QStringLiteral("backups")), [this] { return backupTime; }};

    void keep(BackupKind kind, const QList<BackupStore::File> &files, int count, int minutesLater)
    {
        backupTime = QDateTime(QDate(2025, 11, 2), QTime(8, 15, 30)).addSecs(60 * minutesLater);
        ASSERT_TRUE(backups.save(kind, QStringLiteral("Xarn500"), files, count).entry);
    }
};

} // namespace

TEST_F(Backups, ImportAddsEachBackupOnceAtItsOwnTime)
{
    keep(BackupKind::Directory, DirectoryBackupContent::files(residents(4)), 4, 0);
    keep(BackupKind::Parameters, ParameterBackupContent::files(parameters()), 10, 1);
    keep(BackupKind::Tags, TagStoreContent::files(tags(6)), 6, 2);
    keep(BackupKind::Directory, DirectoryBackupContent::files(residents(5)), 5, 3);

    const HistoryImport::Result first = HistoryImport::importBackups(store, backups.folder());
    EXPECT_EQ(first.added, 4);
    EXPECT_EQ(first.alreadyThere, 0);
    EXPECT_TRUE(first.problems.isEmpty()) << first.problems.join(QLatin1Char('\n')).toStdString();

    const HistoryImport::Result second = HistoryImport::importBackups(store, backups.folder());
    EXPECT_EQ(second.added, 0);
    EXPECT_EQ(second.alreadyThere, 4);

    const QList<HistoryVersion> all = store.versions();
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all.first().time, QDateTime(QDate(2025, 11, 2), QTime(8, 18, 30)).toUTC());
    EXPECT_EQ(all.first().action, HistoryAction::Backup);
    EXPECT_EQ(all.first().via, HistoryVia::kImported);
    EXPECT_EQ(all.first().model, QStringLiteral("Xarn500"));
    EXPECT_EQ(all.first().changeText(), QStringLiteral("1 added"));
    EXPECT_TRUE(all.first().note.endsWith(QLatin1String("_Xarn500_directory.csv")));
    EXPECT_GT(all.first().id, all.last().id); // oldest read in first
    EXPECT_EQ(store.content(all.at(1).id, nullptr), HistoryContent::ofTags(tags(6)));
    EXPECT_EQ(store.content(all.at(2).id, nullptr), HistoryContent::ofParameters(parameters()));
}

TEST_F(Backups, ABackupTheHistoryRecordedWhenItWasTakenIsNotReadInAgain)
{
    keep(BackupKind::Directory, DirectoryBackupContent::files(residents(4)), 4, 0);
    HistoryRecord live = readDirectory(residents(4), backupTime.toUTC().addMSecs(400));
    live.action = HistoryAction::Backup;
    add(live);
    const HistoryImport::Result r = HistoryImport::importBackups(store, backups.folder());
    EXPECT_EQ(r.added, 0);
    EXPECT_EQ(r.alreadyThere, 1);
    EXPECT_EQ(store.versions().size(), 1);
}

TEST_F(Backups, ABackupThatCannotBeReadIsNamedAndTheRestAreReadIn)
{
    keep(BackupKind::Directory, DirectoryBackupContent::files(residents(2)), 2, 0);
    keep(BackupKind::Parameters, {{QStringLiteral("sys"), QByteArray(467, '\0')}}, 10, 1); // no records beside it
    keep(BackupKind::Tags, {{QStringLiteral("rfid"), "not a store\r\n"}}, 0, 2);
    const HistoryImport::Result r = HistoryImport::importBackups(store, backups.folder());
    EXPECT_EQ(r.added, 1);
    ASSERT_EQ(r.problems.size(), 2);
    EXPECT_TRUE(r.problems.at(0).contains(QLatin1String("parameters.sys: it has no parameter records")))
        << r.problems.at(0).toStdString();
    EXPECT_TRUE(r.problems.at(1).contains(QLatin1String("not an RFID store file"))) << r.problems.at(1).toStdString();
}

TEST_F(Folder, TheAuditListsWritesOnlyAndExportsThemSafelyForSpreadsheets)
{
    QList<PanelEntry> list = residents(3);
    add(readDirectory(list, at(0)));
    list[1].Name = "=SUM(A1:A9)";
    list[2].Name = "@SUM(1+1)";
    add(writeDirectory(list, {2, 3, 1, true, {QStringLiteral("-Resident (102)")}}, at(1)));
    add(read(BackupKind::Parameters, HistoryContent::ofParameters(parameters()), at(2)));
    HistoryRecord w = read(BackupKind::Tags, HistoryContent::ofTags(tags(2)), at(3));
    w.action = HistoryAction::Write;
    w.result = HistoryWriteResult{1, 1, 0, false, {}};
    w.who = QStringLiteral("+installer@van");
    add(w);

    const QList<HistoryVersion> writes = store.writes();
    ASSERT_EQ(writes.size(), 2);
    EXPECT_EQ(writes.at(0).kind, BackupKind::Tags);
    EXPECT_EQ(writes.at(1).kind, BackupKind::Directory);
    EXPECT_EQ(HistoryAudit::changesOf(store, writes.at(0)), QStringLiteral("first version"));

    const QString file = dir.filePath(QStringLiteral("audit.csv"));
    QString why;
    ASSERT_TRUE(HistoryAudit::exportCsv(store, file, &why, QLocale(QLocale::German))) << why.toStdString();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const CsvText::Split split = CsvText::split(QByteArrayView(bytes).sliced(3), ';');
    EXPECT_TRUE(split.strict);
    ASSERT_EQ(split.records.size(), 3);
    EXPECT_EQ(split.records.at(0).values.first(), QByteArray("Time"));
    const QList<QByteArray> tagsRow = split.records.at(1).values;
    EXPECT_EQ(tagsRow.at(1), QByteArray("'+installer@van"));
    EXPECT_EQ(tagsRow.at(3), QByteArray("RFID tags"));
    const QList<QByteArray> listRow = split.records.at(2).values;
    EXPECT_EQ(listRow.at(0), at(1).toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8());
    EXPECT_EQ(listRow.at(9), QByteArray("cut short after 2 of 3, 1 refused"));
    const QByteArray changes = listRow.at(10);
    EXPECT_TRUE(changes.startsWith("2 changed\n")) << changes.constData();
    EXPECT_TRUE(changes.contains("Name Resident 0001 -> =SUM(A1:A9)"));

    EXPECT_EQ(HistoryAudit::safeCell(QStringLiteral("=1+1")), QStringLiteral("'=1+1"));
    EXPECT_EQ(HistoryAudit::safeCell(QStringLiteral("-2")), QStringLiteral("'-2"));
    EXPECT_EQ(HistoryAudit::safeCell(QStringLiteral("\tx")), QStringLiteral("'\tx"));
    EXPECT_EQ(HistoryAudit::safeCell(QStringLiteral("Adams =")), QStringLiteral("Adams ="));

    EXPECT_FALSE(HistoryAudit::exportCsv(store, dir.filePath(QStringLiteral("no/such/folder/a.csv")), &why));
    EXPECT_TRUE(why.startsWith(QLatin1String("Cannot create file"))) << why.toStdString();
}

TEST_F(Backups, ABackupTheHistorySawAsUnchangedIsNotReadInAgain)
{
    add(readDirectory(residents(4), backupTime.toUTC().addSecs(-3600)));
    keep(BackupKind::Directory, DirectoryBackupContent::files(residents(4)), 4, 0);
    HistoryRecord live = readDirectory(residents(4), backupTime.toUTC());
    live.action = HistoryAction::Backup;
    ASSERT_EQ(store.add(live).outcome, HistoryStore::Added::Outcome::Sighting);
    add(readDirectory(residents(5), backupTime.toUTC().addSecs(60)));

    const HistoryImport::Result r = HistoryImport::importBackups(store, backups.folder());
    EXPECT_EQ(r.added, 0);
    EXPECT_EQ(r.alreadyThere, 1);
    EXPECT_EQ(store.versions().size(), 2);
}
