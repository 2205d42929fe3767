// The writes that erase, with backups, against the virtual panel: the
// backup holds what the panel held, the question shows what changes, and a
// restore puts the panel's memory back byte for byte.
#include "../rfid/Directory.h"
#include "directory/DirectoryBackupContent.h"
#include "backup/BackupRestore.h"
#include "backup/PanelBackups.h"
#include "directory/DirectorySlots.h"
#include "directory/DirectoryTransfer.h"
#include "parameters/ParameterControls.h"
#include "parameters/ParameterWrites.h"
#include "rfid/RfidWriteAll.h"
#include "support/AppHarness.h"
#include "support/EnginePanel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QDateTime kNow(QDate(2026, 12, 8), QTime(9, 15, 0));

class BackupOnPanel : public ::testing::Test
{
protected:
    BackupOnPanel()
    {
        h.logOnWithPin();
        h.ctx.erase = &backups;
    }

    QList<QByteArray> records(int first, int last)
    {
        QList<QByteArray> out;
        for (int r = first; r <= last; ++r)
            out << panel.memory().record(r);
        return out;
    }

    QTemporaryDir dir;
    AppHarness h;
    EnginePanel panel{h.port};
    PanelBackups backups{BackupStore(dir.filePath(QStringLiteral("backups")), [] { return kNow; })};
};
} // namespace

TEST_F(BackupOnPanel, AWrongListOverAFullDirectoryIsPutBackSlotForSlot)
{
    PanelMemory &memory = panel.memory();
    const int last = memory.lastDirectoryRecord();
    // A full 1000 model, every third slot left empty by single deletes.
    for (int r = 128; r <= last; ++r)
        if (r % 3 != 0)
            memory.setRecord(r, QByteArray::number(r) + ",1234,,,0211:7<" + QByteArray::number(r % 10) + ",Resident "
                                    + QByteArray::number(r));
    const QList<QByteArray> before = records(128, last);

    Directory::add(h.directory, "Wrong Person", "7", "", "");
    Directory::add(h.directory, "Resident 130", "130", "", ""); // now with other codes
    DirectoryTransfer transfer(h.ctx);
    transfer.WriteDataClick();
    ASSERT_EQ(memory.usedDirectorySlots(), 2);

    const QList<BackupEntry> kept = backups.store().list();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].fileName(), QStringLiteral("2026-12-08_091500_Xarn1000_directory.csv"));
    EXPECT_EQ(kept[0].count, int(before.size() - before.count(QByteArray())));
    ASSERT_EQ(h.prompt.details.size(), 1);
    EXPECT_TRUE(h.prompt.details[0].startsWith(QStringLiteral("1 added, 682 removed, 1 changed, 0 unchanged")))
        << qPrintable(h.prompt.details[0].left(200));
    EXPECT_TRUE(h.prompt.details[0].contains(QStringLiteral("+ Wrong Person (7)")));
    EXPECT_TRUE(h.prompt.details[0].contains(QStringLiteral("* Resident 130 (130): PHnumber 0211*7p0 -> 0123456")));

    const BackupRestore::Result result = BackupRestore::restore(h.link, kept[0]);
    EXPECT_TRUE(result.ok()) << qPrintable(result.error);
    EXPECT_TRUE(records(128, last) == before);

    // Writing what the panel now holds again changes nothing, and says so.
    h.directory.PhoneTable.emptyTable();
    transfer.GetDataClick();
    h.prompt.details.clear();
    transfer.WriteDataClick();
    ASSERT_EQ(h.prompt.details.size(), 1);
    EXPECT_EQ(h.prompt.details[0], QStringLiteral("no changes"));
}

TEST_F(BackupOnPanel, ParameterRecordsArePutBackByteForByte)
{
    PanelMemory &memory = panel.memory();
    memory.setRecord(2, "Welcome to      Corvalen House  ");
    memory.setRecord(6, QByteArray("1234567\xff\xff\xff", 10) + QByteArray(22, char(0xFF)));
    memory.setRecord(7, QByteArray("0211<5\xff", 7) + QByteArray(25, char(0xFF)));
    const QList<QByteArray> before = records(1, 10);

    ParameterControls controls(&h.directory);
    controls.setText(ParamEdit::msg0, "Other text");
    ParameterWrites::WriteAllClick(h.ctx, controls);
    ASSERT_NE(records(1, 10), before);
    ASSERT_EQ(h.prompt.details.size(), 1);
    EXPECT_TRUE(h.prompt.details[0].contains(QStringLiteral("Fixed message 1: \"Welcome to\" -> \"Other text\"")))
        << qPrintable(h.prompt.details[0]);

    const QList<BackupEntry> kept = backups.store().list();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].files.size(), 2); // the parameter file and the records
    const BackupRestore::Result result = BackupRestore::restore(h.link, kept[0]);
    EXPECT_TRUE(result.ok()) << qPrintable(result.error);
    EXPECT_EQ(records(1, 10), before);
}

TEST_F(BackupOnPanel, TheRfidStoreIsPutBackRecordForRecord)
{
    PanelMemory &memory = panel.memory();
    memory.setRecord(1408, QByteArray("101???04:1;2<3=4102???04>5?60718").leftJustified(64, '?'));
    memory.setRecord(1500, QByteArray("7?????0000000001").leftJustified(64, '?'));
    const QList<QByteArray> before = records(1408, 1535);

    Directory::add(h.directory, "New", "9", Directory::code(9), "1000");
    RfidWriteAll write(h.ctx);
    EXPECT_EQ(write.writeall_idClick(), RfidWriteAll::Outcome::Completed);
    ASSERT_EQ(h.prompt.details.size(), 1);
    EXPECT_TRUE(h.prompt.details[0].startsWith(QStringLiteral("1 tags added, 3 removed")))
        << qPrintable(h.prompt.details[0]);

    const QList<BackupEntry> kept = backups.store().list();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].count, 3);
    const BackupRestore::Result result = BackupRestore::restore(h.link, kept[0]);
    EXPECT_TRUE(result.ok()) << qPrintable(result.error);
    EXPECT_EQ(records(1408, 1535), before);
}

TEST_F(BackupOnPanel, ABackupThatCannotBeSavedStopsTheWriteWithThePanelUntouched)
{
    // Where the backups folder should be, there is a file.
    QFile blocker(dir.filePath(QStringLiteral("backups")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    Directory::add(h.directory, "Wrong Person", "7", "", "");
    const quint64 revision = panel.memory().revision();

    h.prompt.answers = {false}; // No to writing without a backup
    DirectoryTransfer(h.ctx).WriteDataClick();
    EXPECT_EQ(panel.memory().revision(), revision);
    ASSERT_EQ(h.prompt.messages.size(), 1);
    EXPECT_TRUE(h.prompt.messages[0].startsWith(QStringLiteral("No backup of the phone list could be taken:\r\n"
                                                               "Cannot create folder ")));
    EXPECT_EQ(h.prompt.questions.size(), 1); // the replace question was never asked

    // The second, explicit Yes writes all the same.
    h.prompt.answers = {true, true};
    DirectoryTransfer(h.ctx).WriteDataClick();
    EXPECT_EQ(panel.memory().record(128), QByteArray("7,1111,2222,33,0123456,Wrong Person"));
}

TEST_F(BackupOnPanel, AnUploadCutShortOffersTheBackupTakenBefore)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    for (int i = 0; i < 30; ++i)
        Directory::add(h.directory, "Person " + QByteArray::number(100 + i), QByteArray::number(i + 1), "", "");
    bool offered = false;
    QObject::connect(&backups, &PanelBackups::restoreRequested, [&] { offered = true; });
    // The line drops at the tenth entry.
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        if (command.startsWith("b0137"))
            h.port.scheduler().in(0, [this] { h.port.dropLine(); });
    });
    DirectoryTransfer(h.ctx).WriteDataClick();
    // The line is gone: a restore now could only end in "Log on to the
    // Corvalen first.", so it is not offered; the message says where the
    // backup is and how to restore it later.
    EXPECT_EQ(h.prompt.questions.size(), 1); // the replace question only
    EXPECT_FALSE(offered);
    ASSERT_FALSE(h.prompt.messages.isEmpty());
    EXPECT_EQ(h.prompt.messages.last(),
              QStringLiteral("The phone list as the Corvalen held it before this write is kept in the backup\r\n"
                             "2026-12-08_091500_Xarn1000_directory.csv\r\n"
                             "Once the Corvalen answers again, log on and restore it with File, Backups..."));
}

TEST_F(BackupOnPanel, AnUploadWithRefusedEntriesOffersTheBackupWhileTheLinkIsUp)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    Directory::add(h.directory, "Person", "1", "", "");
    Directory::add(h.directory, "Other", "2", "", "");
    panel.faults().errorW = 8; // the first entry's block write and every retry
    bool offered = false;
    QObject::connect(&backups, &PanelBackups::restoreRequested, [&] { offered = true; });
    h.prompt.answers = {true, false};
    EXPECT_EQ(DirectoryTransfer(h.ctx).WriteDataClick(), DirectoryTransfer::Outcome::SomeRefused);
    ASSERT_EQ(h.prompt.questions.size(), 2);
    EXPECT_TRUE(h.prompt.questions[1].contains(QStringLiteral("Write it back to the Corvalen now?")));
    EXPECT_FALSE(offered); // answered No
}

TEST_F(BackupOnPanel, AWriteThePanelRefusedToEraseOffersNoRestore)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    Directory::add(h.directory, "Wrong Person", "7", "", "");
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        // The erase goes unanswered: the panel took nothing.
        panel.faults().silent = command == "f5a" || command.isEmpty() || command == "c1418";
    });
    EXPECT_EQ(DirectoryTransfer(h.ctx).WriteDataClick(), DirectoryTransfer::Outcome::EraseFailed);
    EXPECT_EQ(h.prompt.questions.size(), 1); // the replace question, no restore question
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("Could not clear All,\r\nSave your files and\r\nRecheck connection")});
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,,,,0211,Adams"));

    h.prompt.questions.clear();
    h.prompt.messages.clear();
    Directory::add(h.directory, "Tag", "9", Directory::code(9), "1000");
    EXPECT_EQ(RfidWriteAll(h.ctx).writeall_idClick(), RfidWriteAll::Outcome::CommunicationError);
    EXPECT_EQ(h.prompt.questions.size(), 1);
    EXPECT_EQ(h.prompt.messages, QStringList{QStringLiteral("communication error")});
}

TEST_F(BackupOnPanel, AnEmptyListAsksTheQuestionButReadsNothingFromThePanel)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    h.port.clearLog();
    EXPECT_EQ(DirectoryTransfer(h.ctx).WriteDataClick(), DirectoryTransfer::Outcome::NothingToWrite);
    EXPECT_EQ(h.prompt.questions,
              QStringList{QStringLiteral("This will replace ALL numbers currently\r\nstored in the Corvalen, Continue?")});
    EXPECT_TRUE(h.port.commands().isEmpty());
    EXPECT_TRUE(backups.store().list().isEmpty());
    EXPECT_EQ(h.status.statusTexts, (QStringList{"Sorting", "Sorting Addresses"}));
}

TEST_F(BackupOnPanel, ASlotWithoutNameOrRoomIsKeptByTheBackupAndComesBackWithTheRestore)
{
    panel.memory().setRecord(128, "101,,,,0211111111,");     // no Name
    panel.memory().setRecord(129, ",1234,,,0217,Caretaker"); // no RoomNumber
    panel.memory().setRecord(130, "102,,,,0212,Baker");
    const QList<QByteArray> before = records(128, 131);
    Directory::add(h.directory, "Wrong Person", "7", "", "");
    DirectoryTransfer(h.ctx).WriteDataClick();
    ASSERT_EQ(panel.memory().usedDirectorySlots(), 1);
    ASSERT_EQ(h.prompt.details.size(), 1);
    EXPECT_TRUE(h.prompt.details[0].startsWith(QStringLiteral("1 added, 3 removed"))) << qPrintable(h.prompt.details[0]);

    const QList<BackupEntry> kept = backups.store().list();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].count, 3);
    const BackupRestore::Result result = BackupRestore::restore(h.link, kept[0]);
    EXPECT_TRUE(result.ok()) << qPrintable(result.error);
    EXPECT_EQ(records(128, 131), before);

    // The download passes over the two, as over empty slots, and says so.
    h.prompt.messages.clear();
    EXPECT_EQ(DirectoryTransfer(h.ctx).GetDataClick(), DirectoryTransfer::Outcome::Completed);
    EXPECT_EQ(h.directory.PhoneTable.count(), 1);
    EXPECT_EQ(h.prompt.messages,
              QStringList{QStringLiteral("2 slot(s) of the Corvalen hold data without a Name or a RoomNumber: "
                                         "1000, 1020\r\nThey were left out of the table, as empty slots are.")});
}

TEST_F(BackupOnPanel, RestoringTheOldestOfAHundredOldBackupsKeepsItThroughTheBackupTakenFirst)
{
    // A hundred phone list backups, one a day, the oldest 100 days back: the
    // one to restore is the hundredth newest, kept by the count alone.
    QDateTime when = kNow.addDays(-100);
    BackupStore older(backups.store().folder(), [&when] { return when; });
    PanelEntry adams{"1000", "101", "", "", "", "0211", "Adams"};
    const BackupStore::Saved chosen =
        older.save(BackupKind::Directory, QStringLiteral("Xarn1000"), DirectoryBackupContent::files({adams}), 1);
    ASSERT_TRUE(chosen.entry);
    for (int day = 99; day >= 1; --day) {
        when = kNow.addDays(-day);
        ASSERT_TRUE(older.save(BackupKind::Directory, QStringLiteral("Xarn1000"), DirectoryBackupContent::files({}), 0)
                        .entry);
    }
    panel.memory().setRecord(128, "7,,,,,Wrong Person");

    // The backup taken before the restore makes it the 101st: it stays all the same.
    EXPECT_TRUE(backups.restoreWithBackup(h.ctx, *chosen.entry)) << qPrintable(h.prompt.messages.join('|'));
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,,,,0211,Adams"));
    EXPECT_EQ(h.prompt.messages.last(), QStringLiteral("Restored 1 resident from %1.").arg(chosen.entry->fileName()));
    const QList<BackupEntry> left = backups.store().list();
    ASSERT_EQ(left.size(), 101);
    EXPECT_EQ(left.first().name.when, kNow);
    EXPECT_EQ(left.last().fileName(), chosen.entry->fileName());

    // Once the restore is over, the retention rule holds again.
    EXPECT_EQ(backups.store().prune(), 1);
    EXPECT_FALSE(QFile::exists(chosen.entry->path));
}

TEST_F(BackupOnPanel, AfterADirectoryRestoreTheTableNoLongerCountsAsThePanels)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    panel.memory().setRecord(129, "102,,,,0212,Baker");
    DirectoryTransfer(h.ctx).GetDataClick();
    ASSERT_TRUE(h.link.conn().DirectorySynced);
    ASSERT_TRUE(h.directory.writeEachChangeEnabled());

    // An older list: Carter where Adams is now.
    BackupStore older(backups.store().folder(), [] { return kNow.addDays(-3); });
    const BackupStore::Saved saved = older.save(
        BackupKind::Directory, QStringLiteral("Xarn1000"),
        DirectoryBackupContent::files({{"1000", "103", "", "", "", "0213", "Carter"}}), 1);
    ASSERT_TRUE(saved.entry);
    EXPECT_TRUE(backups.restoreWithBackup(h.ctx, *saved.entry));
    EXPECT_EQ(panel.memory().record(128), QByteArray("103,,,,0213,Carter"));
    // The table still names Adams in slot 1000: it is not the panel's directory.
    EXPECT_EQ(h.directory.PhoneTable.value(0, "Name"), QByteArray("Adams"));
    EXPECT_FALSE(h.link.conn().DirectorySynced);
    EXPECT_FALSE(h.directory.writeEachChangeEnabled());
}

TEST_F(BackupOnPanel, ARestoreToAPanelThatFallsSilentStopsWithinSecondsAsALostLine)
{
    // The erase is taken, then not a byte comes back; the line stays open.
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        if (command.startsWith('b') || command.startsWith('g') || command.startsWith('p'))
            panel.faults().silent = true;
    });
    const QString lost = QStringLiteral("The Corvalen stopped answering: no reply came to the last writes.\r\n");
    QList<PanelEntry> residents;
    for (int i = 0; i < 50; ++i)
        residents.append({DirectorySlots::text(0x1000 + 0x20 * i), QByteArray::number(100 + i), "", "", "", "0211",
                          "Resident " + QByteArray::number(i)});
    qint64 start = h.elapsedTicks();
    BackupRestore::Result result = BackupRestore::restoreDirectory(h.link, residents);
    EXPECT_EQ(result.error, lost + QStringLiteral("The restore did not finish: 0 entries written."));
    EXPECT_LT((h.elapsedTicks() - start) * Waiter::kTickNs, 15000000000LL); // not 50 entries of retries

    panel.faults().silent = false;
    StoreImage image;
    for (int r = 1408; r <= 1440; ++r)
        image.setRecord(r, "101???0000000001");
    start = h.elapsedTicks();
    result = BackupRestore::restoreTags(h.link, image);
    EXPECT_EQ(result.error, lost + QStringLiteral("The restore did not finish: 0 records written."));
    EXPECT_LT((h.elapsedTicks() - start) * Waiter::kTickNs, 15000000000LL);

    panel.faults().silent = false;
    ParameterRecordSet records;
    for (int r = 1; r <= 10; ++r)
        records.setRecord(r, QByteArray(32, '1'));
    start = h.elapsedTicks();
    result = BackupRestore::restoreParameters(h.link, records);
    EXPECT_EQ(result.error, lost + QStringLiteral("The restore did not finish: 0 records written."));
    EXPECT_LT((h.elapsedTicks() - start) * Waiter::kTickNs, 15000000000LL); // one record, not ten
    EXPECT_FALSE(h.port.commands().contains("u"));
}

TEST_F(BackupOnPanel, ALineLostDuringTheBackupReadSaysSoAndAsksNothingMore)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    Directory::add(h.directory, "Person", "1", "", "");
    // The line drops while the directory is read for the backup.
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        if (command.startsWith("d0128"))
            h.port.scheduler().in(0, [this] { h.port.dropLine(); });
    });
    EXPECT_EQ(DirectoryTransfer(h.ctx).WriteDataClick(), DirectoryTransfer::Outcome::NotStarted);
    EXPECT_TRUE(h.prompt.questions.isEmpty()); // neither "write without a backup?" nor the replace question
    ASSERT_FALSE(h.prompt.messages.isEmpty());
    EXPECT_TRUE(h.prompt.messages.last().startsWith(QStringLiteral("The connection to the Corvalen was lost")));
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,,,,0211,Adams")); // never erased
}

TEST_F(BackupOnPanel, ThePermissionsHandleStandsForTheBackupItKeptAndNoOther)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    UserPrompt::Question question;
    question.text = QStringLiteral("Go on?");
    const ErasePermission::Answer answer = backups.mayErase(h.ctx, DirectoryBackupContent({}), question);
    EXPECT_TRUE(answer.proceed);
    ASSERT_EQ(h.prompt.details.size(), 1);
    EXPECT_TRUE(h.prompt.details[0].contains(QStringLiteral("- Adams (101)"))) << qPrintable(h.prompt.details[0]);
    const std::optional<BackupEntry> kept = PanelBackups::backupOf(answer.kept);
    ASSERT_TRUE(kept);
    ASSERT_EQ(backups.store().list().size(), 1);
    EXPECT_EQ(kept->path, backups.store().list().first().path);
    EXPECT_EQ(kept->count, 1);

    struct Foreign : ErasePermission::Kept
    {
    };
    EXPECT_FALSE(PanelBackups::backupOf(std::make_shared<Foreign>()));
    EXPECT_FALSE(PanelBackups::backupOf(nullptr));
    h.prompt.questions.clear();
    EXPECT_FALSE(backups.offerRestore(h.ctx, ErasePermission::KeptHandle(std::make_shared<Foreign>()),
                                      QStringLiteral("phone list")));
    EXPECT_TRUE(h.prompt.questions.isEmpty());
}

// Restore checks the backup against the panel before anything is read or
// erased: another model's is refused, another site's asked with No first.
TEST_F(BackupOnPanel, ARestoreOfAnotherModelOrSiteLeavesThePanelAsItIs)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    const QByteArray before = panel.memory().record(128);
    BackupStore older(backups.store().folder(), [] { return kNow.addDays(-3); });
    const BackupStore::Saved small = older.save(
        BackupKind::Directory, QStringLiteral("Xarn100"),
        DirectoryBackupContent::files({{"1000", "103", "", "", "", "0213", "Carter"}}), 1);
    ASSERT_TRUE(small.entry);
    h.prompt.messages.clear();
    const qsizetype sent = h.port.commands().size();
    EXPECT_FALSE(backups.restoreWithBackup(h.ctx, *small.entry));
    ASSERT_FALSE(h.prompt.messages.isEmpty());
    EXPECT_TRUE(h.prompt.messages.last().contains(QStringLiteral("Corvalen 100 (Xarn100)")))
        << qPrintable(h.prompt.messages.last());
    EXPECT_TRUE(h.prompt.messages.last().contains(QStringLiteral("Corvalen 1000 (Xarn1000)")));

    older.setSite(QStringLiteral("Mill Lane"));
    backups.store().setSite(QStringLiteral("12 Harbour Street"));
    const BackupStore::Saved mill = older.save(
        BackupKind::Directory, QStringLiteral("Xarn1000"),
        DirectoryBackupContent::files({{"1000", "103", "", "", "", "0213", "Carter"}}), 1);
    ASSERT_TRUE(mill.entry);
    h.prompt.answers = {false};
    EXPECT_FALSE(backups.restoreWithBackup(h.ctx, *mill.entry));
    ASSERT_FALSE(h.prompt.questions.isEmpty());
    EXPECT_TRUE(h.prompt.questions.last().contains(QStringLiteral("Mill-Lane")));
    EXPECT_TRUE(h.prompt.questions.last().contains(QStringLiteral("\"12 Harbour Street\"")));
    EXPECT_EQ(h.port.commands().size(), sent); // not a command went to the panel
    EXPECT_EQ(panel.memory().record(128), before);
}
