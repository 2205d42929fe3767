// What the whole main window keeps of the virtual panel: downloads and
// writes as versions in the working folder's history, event downloads in its
// event archive, and the History dialog and the archive page over them.
#include "FormOnPanel.h"
#include "PanelClock.h"
#include "app/widgets/FramePrinting.h"
#include "app/widgets/FrameRecords.h"
#include "archive/ArchiveTableModel.h"
#include "archive/EventArchive.h"
#include "archive/widgets/ArchiveView.h"
#include "events/widgets/EventsPage.h"
#include "history/HistoryStore.h"
#include "history/widgets/HistoryComparisonView.h"
#include "history/widgets/HistoryDialog.h"
#include "support/PanelEventRows.h"
#include "table/widgets/PrintChoicesDialog.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QTabWidget>
#include <QTableView>

namespace {

struct RecordsOnPanel : FormOnPanel
{
    void SetUp() override
    {
        FormOnPanel::SetUp();
        form->enableRecords();
    }
    QList<HistoryVersion> versions(std::optional<BackupKind> kind = std::nullopt)
    {
        HistoryStore history(dir.path());
        QString why;
        EXPECT_TRUE(history.open(&why)) << qPrintable(why);
        return history.versions({kind, std::nullopt});
    }
    qint64 archivedEvents()
    {
        EventArchive archive(dir.path());
        EXPECT_TRUE(archive.open());
        return archive.eventCount();
    }
};

QDateTime at(int day, int hour, int minute)
{
    return PanelClock::fields(2026, 11, day, hour, minute, 0);
}

} // namespace

TEST_F(RecordsOnPanel, DownloadsAreVersionsOnceAndWritesKeepTheirResult)
{
    engine.memory().eraseDirectory();
    engine.memory().setRecord(128, "101,1101,,,0211,Adams Helen");
    engine.memory().setRecord(129, "102,1102,,,0217,Baker Tom");
    engine.memory().setRecord(130, "201,,,,,Chen Wei");
    ASSERT_TRUE(logOn()) << qPrintable(messages());

    form->PHButClick();
    click("GetData");
    QList<HistoryVersion> list = versions();
    ASSERT_EQ(list.size(), 1) << qPrintable(messages());
    EXPECT_EQ(list[0].kind, BackupKind::Directory);
    EXPECT_EQ(list[0].action, HistoryAction::Read);
    EXPECT_EQ(list[0].entries, 3);
    EXPECT_EQ(list[0].via, HistoryVia::kWindow);
    EXPECT_TRUE(list[0].who.contains(QLatin1Char('@'))) << qPrintable(list[0].who);

    // The same panel read again is seen again, not copied.
    click("GetData");
    list = versions();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].seen, 2);

    // The whole list written back: a write version that finished.
    prompt.messages.clear();
    click("WriteData");
    list = versions();
    ASSERT_EQ(list.size(), 2) << qPrintable(messages());
    EXPECT_EQ(list[0].action, HistoryAction::Write);
    ASSERT_TRUE(list[0].result.has_value());
    EXPECT_EQ(list[0].result->written, 3);
    EXPECT_EQ(list[0].result->total, 3);
    EXPECT_TRUE(list[0].result->finished()) << qPrintable(list[0].result->text());

    // What was written is what the next read finds: no new copy.
    click("GetData");
    EXPECT_EQ(versions().size(), 2);

    // A resident the panel now holds besides is a change.
    engine.memory().setRecord(131, "305,,,,,Dunn Ava");
    click("GetData");
    list = versions();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].entries, 4);
    EXPECT_EQ(list[0].added, 1);

    // Read All is a parameters version.
    form->PbuttClick();
    click("ReadAll");
    list = versions(BackupKind::Parameters);
    ASSERT_EQ(list.size(), 1) << qPrintable(messages());
    EXPECT_EQ(list[0].action, HistoryAction::Read);
    EXPECT_EQ(list[0].entries, 10);
}

TEST_F(RecordsOnPanel, EventDownloadsGrowTheArchiveOnlyByWhatIsNew)
{
    using PanelEventRows::roomEvent;
    PanelMemory &memory = engine.memory();
    memory.clearEvents();
    memory.addEvent(roomEvent(at(10, 8, 15), "4711", "Zed Ward", 1, PanelEvent::Local));
    memory.addEvent(roomEvent(at(10, 9, 0), "12", "Amy Moss", 2, PanelEvent::Remote));
    // Two identical events in one second are two events.
    memory.addEvent(roomEvent(at(10, 9, 0), "12", "Amy Moss", 2, PanelEvent::Remote));
    ASSERT_TRUE(logOn()) << qPrintable(messages());

    form->EbuttClick();
    click("dnLoad");
    EXPECT_EQ(archivedEvents(), 3) << qPrintable(messages());
    click("dnLoad");
    EXPECT_EQ(archivedEvents(), 3);
    memory.addEvent(roomEvent(at(11, 22, 5), "305", "Dunn Ava", 1, PanelEvent::RfId));
    click("dnLoad");
    EXPECT_EQ(archivedEvents(), 4);

    // The archive page beside the Events page shows the archive, refreshed.
    FrameRecords &records = form->records();
    ASSERT_NE(records.archivePage(), nullptr);
    EXPECT_EQ(form->Page->indexOf(records.archivePage()), form->Page->indexOf(form->eventsPage()) + 1);
    form->Page->setCurrentWidget(records.archivePage());
    ASSERT_NE(records.archiveView(), nullptr);
    EXPECT_EQ(records.archiveView()->accessibleName(), QStringLiteral("Event archive"));
    EventFilter all;
    records.archiveView()->setFilter(all);
    EXPECT_EQ(records.archiveView()->model().rowCount(), 4);
    // The grid still shows the panel's log as downloaded.
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(messages());
}

TEST_F(RecordsOnPanel, HistoryListsTheWorkingFoldersVersions)
{
    engine.memory().eraseDirectory();
    engine.memory().setRecord(128, "101,1101,,,0211,Adams Helen");
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->PHButClick();
    click("GetData");

    int rows = -1;
    QString name;
    form->records().setDialogRunner([&](QDialog &dialog) {
        name = dialog.accessibleName();
        for (QTableView *view : dialog.findChildren<QTableView *>())
            if (view->accessibleName() == QStringLiteral("Versions"))
                rows = view->model()->rowCount();
    });
    form->records().HistoryItemClick();
    EXPECT_EQ(name, QStringLiteral("History"));
    EXPECT_EQ(rows, 1);
}

TEST_F(RecordsOnPanel, AHistoryThatCannotBeKeptLeavesTheDownloadWhole)
{
    {
        QFile damaged(QDir(dir.path()).filePath(HistoryStore::kFileName));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
    }
    engine.memory().eraseDirectory();
    engine.memory().setRecord(128, "101,1101,,,0211,Adams Helen");
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->PHButClick();
    click("GetData");
    EXPECT_EQ(form->context().directory.PhoneTable.count(), 1);
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].startsWith(QStringLiteral("The version was not kept in ")))
        << qPrintable(messages());
    QFile kept(QDir(dir.path()).filePath(HistoryStore::kFileName));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(4096, 'x'));
}

TEST_F(RecordsOnPanel, ARefusedWriteKeepsWhatWasRefused)
{
    engine.memory().eraseDirectory();
    engine.memory().setRecord(128, "101,1101,,,0211,Adams Helen");
    engine.memory().setRecord(129, "102,1102,,,0217,Baker Tom");
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->PHButClick();
    click("GetData");
    engine.faults().errorW = 1000; // every directory write refused
    click("WriteData");
    const QList<HistoryVersion> list = versions();
    ASSERT_EQ(list.size(), 2) << qPrintable(messages());
    ASSERT_TRUE(list[0].result.has_value());
    EXPECT_EQ(list[0].action, HistoryAction::Write);
    EXPECT_EQ(list[0].result->written, 0);
    EXPECT_EQ(list[0].result->refused, 2);
    EXPECT_FALSE(list[0].result->finished());
}

TEST_F(RecordsOnPanel, TheBackupBeforeAWriteAndARestoreFromTheHistory)
{
    form->enableBackups(QDir(dir.path()).filePath(QStringLiteral("backups")));
    engine.memory().eraseDirectory();
    engine.memory().setRecord(128, "101,1101,,,0211,Adams Helen");
    engine.memory().setRecord(129, "102,1102,,,0217,Baker Tom");
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->PHButClick();
    click("GetData");
    const QByteArray first128 = engine.memory().record(128), first129 = engine.memory().record(129);
    const qint64 firstRead = versions().first().id;

    // The panel changes behind the window's back: the backup before the
    // write keeps it as a version of its own.
    engine.memory().setRecord(130, "305,,,,,Dunn Ava");
    click("WriteData");
    QList<HistoryVersion> list = versions();
    ASSERT_EQ(list.size(), 3) << qPrintable(messages());
    EXPECT_EQ(list[0].action, HistoryAction::Write);
    EXPECT_EQ(list[1].action, HistoryAction::Backup);
    EXPECT_EQ(list[1].entries, 3);

    // Put the first read back from the History dialog.
    engine.memory().eraseDirectory();
    engine.memory().setRecord(140, "999,,,,,Someone Else");
    form->records().setDialogRunner([&](QDialog &dialog) {
        auto &history = static_cast<HistoryDialog &>(dialog);
        for (const HistoryVersion &v : versions())
            if (v.id == firstRead)
                emit history.restoreRequested(v);
    });
    prompt.messages.clear();
    form->records().HistoryItemClick();
    EXPECT_EQ(engine.memory().record(128), first128) << qPrintable(messages());
    EXPECT_EQ(engine.memory().record(129), first129);
    EXPECT_TRUE(engine.memory().record(140).isEmpty());
    list = versions();
    ASSERT_GE(list.size(), 5);
    EXPECT_EQ(list[0].action, HistoryAction::Write); // the restore
    EXPECT_EQ(list[0].entries, 2);
    EXPECT_TRUE(list[0].result && list[0].result->finished());
    EXPECT_EQ(list[1].action, HistoryAction::Backup); // what the panel held before it
    EXPECT_EQ(list[1].entries, 1);
}

TEST_F(RecordsOnPanel, PrintedListsShowPrivateColumnsOnlyWhenTicked)
{
    QStringList columns;
    FramePrinting &printing = form->printing();
    printing.setOutput([&](FramePrinting::Output, const Report &report, const QString &) { columns = report.columns; });
    printing.setChoicesRunner([](PrintChoicesDialog &) { return true; });
    printing.printResidentsList();
    EXPECT_EQ(columns, (QStringList{QStringLiteral("Name"), QStringLiteral("Room")}));
    printing.setChoicesRunner([](PrintChoicesDialog &d) {
        d.setChosen(0, true);
        return true;
    });
    printing.printResidentsList();
    EXPECT_TRUE(columns.contains(QStringLiteral("Phone")));
    EXPECT_FALSE(columns.contains(QStringLiteral("Code 1")));

    // Cancelled: nothing goes out.
    columns.clear();
    printing.setChoicesRunner([](PrintChoicesDialog &) { return false; });
    printing.printParameterSheet();
    EXPECT_TRUE(columns.isEmpty());
}

// What Write All sends is what the next read finds: the read is a sighting
// of the write, not a version of its own.
TEST_F(RecordsOnPanel, TagsAndParametersWrittenThenReadAreSeenAgain)
{
    engine.memory().setRecord(1408, "4711??04:1;2<3=4" + QByteArray(48, '?'));
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->RFbuttClick();
    click("download_id");
    click("writeall_id");
    click("download_id");
    QList<HistoryVersion> list = versions(BackupKind::Tags);
    ASSERT_EQ(list.size(), 2) << qPrintable(messages());
    EXPECT_EQ(list[0].action, HistoryAction::Write);
    EXPECT_EQ(list[0].entries, 1);
    ASSERT_TRUE(list[0].result.has_value());
    EXPECT_EQ(list[0].result->written, 1);
    EXPECT_TRUE(list[0].result->finished()) << qPrintable(list[0].result->text());
    EXPECT_EQ(list[0].seen, 2);

    form->PbuttClick();
    click("ReadAll");
    click("WriteAll");
    click("ReadAll");
    list = versions(BackupKind::Parameters);
    ASSERT_EQ(list.size(), 2) << qPrintable(messages());
    EXPECT_EQ(list[0].action, HistoryAction::Write);
    ASSERT_TRUE(list[0].result.has_value());
    EXPECT_EQ(list[0].result->written, 10);
    EXPECT_EQ(list[0].result->total, 10);
    EXPECT_EQ(list[0].seen, 2);
}

TEST_F(RecordsOnPanel, AVersionComparedWithWhatThePageHoldsNow)
{
    engine.memory().eraseDirectory();
    engine.memory().setRecord(128, "101,1101,,,0211,Adams Helen");
    ASSERT_TRUE(logOn()) << qPrintable(messages());
    form->PHButClick();
    click("GetData");
    Table &table = form->context().directory.PhoneTable;
    table.appendRecord({"Baker Tom", "102", "", "", "", "", "", ""});

    QString summary;
    form->records().setDialogRunner([&](QDialog &dialog) {
        auto &history = static_cast<HistoryDialog &>(dialog);
        emit history.compareWithPageRequested(versions().first());
        if (history.comparison())
            summary = history.comparison()->summary() + history.comparison()->text();
    });
    form->records().HistoryItemClick();
    EXPECT_TRUE(summary.contains(QStringLiteral("Baker Tom"))) << qPrintable(summary);
    EXPECT_FALSE(summary.contains(QStringLiteral("Adams Helen"))) << qPrintable(summary);
}
