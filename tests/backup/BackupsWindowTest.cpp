// File > "Backups..." in the main window, on the virtual panel and virtual
// time: the list, Restore through the window, and "Open in Page" into each
// page, from where the page's own Write All puts the backup back.
#include "../rfid/Directory.h"
#include "app/widgets/FrameActions.h"
#include "app/widgets/TCorvalenForm.h"
#include "backup/PanelBackups.h"
#include "directory/DirectoryBackupContent.h"
#include "parameters/ParameterBackupContent.h"
#include "rfid/TagStoreContent.h"
#include "backup/widgets/BackupsDialog.h"
#include "directory/PhoneFields.h"
#include "link/DeviceMap.h"
#include "parameters/widgets/SystemPage.h"
#include "support/AccessibleNames.h"
#include "support/EnginePanel.h"
#include "support/Recorders.h"
#include "support/Screenshot.h"
#include "support/ScriptedPin.h"
#include "support/VirtualClock.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
const QDateTime kMorning(QDate(2026, 12, 8), QTime(9, 15, 0));

QPushButton *button(QWidget &root, const QString &caption)
{
    for (QPushButton *b : root.findChildren<QPushButton *>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

// The main window in a folder of its own, logged on to a 1000 model.
struct BackupsWindow : ::testing::Test
{
    QTemporaryDir dir;
    QString previousDir = QDir::currentPath();
    bool inDir = QDir::setCurrent(dir.path());
    VirtualClock clock;
    VirtualWaiter waiter{clock};
    VirtualScheduler scheduler{clock};
    FakePanelPort port{scheduler};
    EnginePanel panel{port};
    ScriptedPin pin;
    RecordingPrompt prompt;
    DeviceMap devices;
    TCorvalenForm form{port, waiter, devices, &prompt};
    QDateTime now = kMorning;
    BackupStore store{dir.filePath(QStringLiteral("backups")), [this] { return now; }};

    BackupsWindow()
    {
        form.setLogOnDialog(&pin);
        form.enableBackups(store.folder());
        pin.answers << QByteArray("1234");
        form.connection().OnLine1Click();
    }
    ~BackupsWindow() override { QDir::setCurrent(previousDir); }

    QList<QByteArray> records(int first, int last)
    {
        QList<QByteArray> out;
        for (int r = first; r <= last; ++r)
            out << panel.memory().record(r);
        return out;
    }
    BackupEntry keep(BackupKind kind, const QList<BackupStore::File> &files, int count)
    {
        const BackupStore::Saved saved = store.save(kind, QStringLiteral("Xarn1000"), files, count);
        EXPECT_TRUE(saved.entry) << qPrintable(saved.error);
        now = now.addSecs(60);
        return saved.entry.value_or(BackupEntry{});
    }
    BackupEntry keepDirectory(const QList<PanelEntry> &entries)
    {
        return keep(BackupKind::Directory, DirectoryBackupContent::files(entries), int(entries.size()));
    }
    // Runs File > "Backups..." and, inside it, `act` on the dialog.
    void inBackupsWindow(const std::function<void(BackupsDialog &)> &act)
    {
        QTimer::singleShot(0, &form, [&] {
            auto *dialog = qobject_cast<BackupsDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        for (QAction *a : form.actions().File1->actions())
            if (a->objectName() == QStringLiteral("BackupsItem"))
                a->trigger();
    }
};
} // namespace

TEST_F(BackupsWindow, TheListShowsEveryBackupNewestFirstAndIsFoundByName)
{
    keepDirectory({{"1000", "101", "", "", "", "0211", "Adams"}, {"1020", "102", "", "", "", "0212", "Brown"}});
    ParameterRecordSet set;
    for (int r = 1; r <= 10; ++r)
        set.setRecord(r, panel.memory().record(r));
    keep(BackupKind::Parameters, ParameterBackupContent::files(set), 10);
    StoreImage image;
    image.setRecord(1408, "101???04:1;2<3=4");
    keep(BackupKind::Tags, TagStoreContent::files(image), 1);

    BackupsDialog dialog(store, {}, {});
    dialog.show();
    saveScreenshot(dialog, QStringLiteral("backups-dialog"));
    auto *list = dialog.findChild<QTreeWidget *>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    const auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << list->topLevelItem(r)->text(c);
        return cells.join(QLatin1Char('|')).toStdString();
    };
    EXPECT_EQ(row(0), "2026-12-08 09:17:00|Xarn1000|RFID tags|1 tag");
    EXPECT_EQ(row(1), "2026-12-08 09:16:00|Xarn1000|Parameters|10 records");
    EXPECT_EQ(row(2), "2026-12-08 09:15:00|Xarn1000|Phone list|2 residents");

    EXPECT_EQ(listed(sameNamedControls(dialog)), "");
    EXPECT_TRUE(button(dialog, QStringLiteral("Close"))->isDefault()); // Enter never restores
    EXPECT_EQ(listed(unnamedControls(dialog)), "");
    for (const QString &caption : {QStringLiteral("Restore"), QStringLiteral("Open in Page"), QStringLiteral("Open folder")}) {
        QPushButton *b = button(dialog, caption);
        ASSERT_NE(b, nullptr) << qPrintable(caption);
        EXPECT_FALSE(accessibleText(b, QAccessible::Description).isEmpty()) << qPrintable(caption);
    }
}

TEST_F(BackupsWindow, NothingToChooseLeavesRestoreAndOpenDisabled)
{
    BackupsDialog dialog(store, {}, {});
    EXPECT_FALSE(button(dialog, QStringLiteral("Restore"))->isEnabled());
    EXPECT_FALSE(button(dialog, QStringLiteral("Open in Page"))->isEnabled());
}

TEST_F(BackupsWindow, RestoreAsksThenPutsThePhoneListBackSlotForSlot)
{
    panel.memory().setRecord(128, "101,,,,0211,Adams");
    panel.memory().setRecord(200, "102,1,2,3,0212,Brown");
    const QList<QByteArray> before = records(128, 300);
    keepDirectory({{"1000", "101", "", "", "", "0211", "Adams"}, {"1900", "102", "1", "2", "3", "0212", "Brown"}});
    panel.memory().setRecord(128, "7,,,,0999,Wrong Person");
    panel.memory().setRecord(200, QByteArray());

    inBackupsWindow([&](BackupsDialog &dialog) { button(dialog, QStringLiteral("Restore"))->click(); });
    EXPECT_TRUE(prompt.questions.join(QLatin1Char('|')).contains(QStringLiteral("2026-12-08_091500_Xarn1000_directory.csv")))
        << qPrintable(prompt.questions.join(QLatin1Char('|')));
    EXPECT_EQ(records(128, 300), before) << qPrintable(prompt.messages.join(QLatin1Char('|')));
    EXPECT_EQ(store.list().size(), 2); // what the panel held before the restore is kept too
}

TEST_F(BackupsWindow, AParameterBackupWithoutItsRecordsSaysSoAndWritesNothing)
{
    ParameterRecordSet set;
    for (int r = 1; r <= 10; ++r)
        set.setRecord(r, panel.memory().record(r));
    const BackupEntry entry = keep(BackupKind::Parameters, ParameterBackupContent::files(set), 10);
    ASSERT_TRUE(QFile::remove(entry.files.last()));
    const quint64 revision = panel.memory().revision();
    const qsizetype shown = prompt.messages.size();
    EXPECT_FALSE(form.backups()->restoreWithBackup(form.context(), store.list().first()));
    ASSERT_EQ(prompt.messages.size(), shown + 1);
    EXPECT_TRUE(prompt.messages.last().startsWith(QStringLiteral("The backup has no parameter records")));
    EXPECT_EQ(panel.memory().revision(), revision);
}

TEST_F(BackupsWindow, ADirectoryBackupOpensIntoThePhonePageUnderANameOfItsOwn)
{
    QFile own(dir.filePath(QStringLiteral("CorvalenPhList.csv")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("the user's own list");
    own.close();
    form.actions().Parab->trigger();
    const BackupEntry entry = keepDirectory({{"1040", "101", "", "", "", "0211", "Adams"}});
    const QByteArray kept = [&] {
        QFile f(entry.path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    inBackupsWindow([&](BackupsDialog &dialog) {
        button(dialog, QStringLiteral("Open in Page"))->click();
        EXPECT_FALSE(dialog.isVisible()); // opened: the page is what the user wants to see
    });
    EXPECT_EQ(form.Page->currentWidget()->objectName(), QStringLiteral("phdir"));
    const Table &table = form.context().directory.PhoneTable;
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.value(0, PhoneFields::Addr), QByteArray("1040"));
    EXPECT_FALSE(form.link().conn().DirectorySynced);

    // Save writes a file of its own beside the user's lists: neither their
    // list nor the backup changes.
    const QString saveName = dir.filePath(QStringLiteral("2026-12-08_091500_Xarn1000_directory.csv"));
    EXPECT_EQ(form.context().directory.DBFiles(), saveName);
    EXPECT_EQ(form.findChild<QLineEdit *>(QStringLiteral("DBFiles"))->text(), saveName);
    form.FileSave1Execute();
    EXPECT_TRUE(QFile::exists(saveName));
    QFile f(entry.path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kept);
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), QByteArray("the user's own list"));

    // Opened again, it does not take the name of the copy saved before.
    ASSERT_TRUE(form.openBackup(entry));
    EXPECT_EQ(form.context().directory.DBFiles(),
              dir.filePath(QStringLiteral("2026-12-08_091500_Xarn1000_directory-2.csv")));
}

TEST_F(BackupsWindow, AParameterBackupOpenedAndWrittenPutsEveryRecordBack)
{
    panel.memory().setRecord(2, "Welcome to      Corvalen House  ");
    const QList<QByteArray> before = records(1, 10);
    ParameterRecordSet set;
    for (int r = 1; r <= 10; ++r)
        set.setRecord(r, before.at(r - 1));
    const BackupEntry entry = keep(BackupKind::Parameters, ParameterBackupContent::files(set), 10);
    // The page holds other values, also where the parameter file has none.
    ParameterControls &controls = form.systemPage()->controls();
    controls.setText(ParamEdit::msg0, "Other text");
    controls.setText(ParamEdit::Phs_rc, "9");

    ASSERT_TRUE(form.openBackup(entry));
    EXPECT_EQ(form.Page->currentWidget()->objectName(), QStringLiteral("system"));
    EXPECT_EQ(controls.text(ParamEdit::msg0).trimmed(), QByteArray("Welcome to"));
    panel.memory().setRecord(2, "Something else entirely         ");

    auto *writeAll = form.systemPage()->findChild<QPushButton *>(QStringLiteral("WriteAll"));
    ASSERT_NE(writeAll, nullptr);
    writeAll->click();
    EXPECT_EQ(records(1, 10), before) << qPrintable(prompt.messages.join(QLatin1Char('|')));
}

TEST_F(BackupsWindow, ATagBackupOpensIntoTheRfidPageAndAnUnreadableOneChangesNothing)
{
    Directory::add(form.context().directory, "Adams", "101", "0000000001", "128");
    form.link().conn().DirectorySynced = true;
    StoreImage image;
    image.setRecord(1408, "101???04:1;2<3=4");
    const BackupEntry entry = keep(BackupKind::Tags, TagStoreContent::files(image), 1);

    ASSERT_TRUE(form.openBackup(entry));
    EXPECT_EQ(form.Page->currentWidget()->objectName(), QStringLiteral("RFid_SU"));
    EXPECT_EQ(Directory::value(form.context().directory, "Adams", PhoneFields::Rfid), QByteArray("04A1B2C3D4"));
    EXPECT_FALSE(form.link().conn().DirectorySynced);

    QFile broken(entry.path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a store");
    broken.close();
    form.actions().PHBut->trigger();
    const qsizetype shown = prompt.messages.size();
    EXPECT_FALSE(form.openBackup(entry));
    EXPECT_EQ(prompt.messages.size(), shown + 1);
    EXPECT_EQ(form.Page->currentWidget()->objectName(), QStringLiteral("phdir"));
    EXPECT_EQ(Directory::value(form.context().directory, "Adams", PhoneFields::Rfid), QByteArray("04A1B2C3D4"));
}
