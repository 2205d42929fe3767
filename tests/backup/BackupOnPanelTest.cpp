// The writes that erase, with backups, against the virtual panel: the
// backup holds what the panel held, the question shows what changes, and a
// restore puts the panel's memory back byte for byte.
#include "../rfid/Directory.h"
#include "backup/BackupRestore.h"
#include "backup/PanelBackups.h"
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
        h.ctx.backups = &backups;
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
    BackupEntry offered;
    QObject::connect(&backups, &PanelBackups::restoreRequested, [&](const BackupEntry &e) { offered = e; });
    // The line drops at the tenth entry.
    panel.engine().setCommandObserver([this](const QByteArray &command) {
        if (command.startsWith("b0137"))
            h.port.scheduler().in(0, [this] { h.port.dropLine(); });
    });
    DirectoryTransfer(h.ctx).WriteDataClick();
    ASSERT_FALSE(h.prompt.questions.isEmpty());
    EXPECT_TRUE(h.prompt.questions.last().contains(QStringLiteral("2026-12-08_091500_Xarn1000_directory.csv")))
        << qPrintable(h.prompt.questions.last());
    EXPECT_EQ(offered.fileName(), QStringLiteral("2026-12-08_091500_Xarn1000_directory.csv"));
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
