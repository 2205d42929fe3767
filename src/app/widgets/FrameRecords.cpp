#include "app/widgets/FrameRecords.h"

#include "app/PageContent.h"
#include "app/PanelRecorder.h"
#include "app/widgets/FrameActions.h"
#include "app/widgets/FrameBackups.h"
#include "app/widgets/FramePages.h"
#include "archive/EventArchive.h"
#include "archive/widgets/ArchiveView.h"
#include "backup/BackupStore.h"
#include "backup/PanelBackups.h"
#include "events/widgets/EventsPage.h"
#include "history/HistoryImport.h"
#include "history/HistoryStore.h"
#include "history/VersionFiles.h"
#include "history/widgets/HistoryDialog.h"
#include "parameters/widgets/SystemPage.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

FrameRecords::FrameRecords(DirectoryContext &ctx, FramePages &pages, FrameActions &actions, FrameBackups &backups,
                           QWidget *window)
    : QObject(window)
    , ctx_(ctx)
    , pages_(pages)
    , actions_(actions)
    , backups_(backups)
    , window_(window)
{
}

// The transfer context is gone by now (the window's members go before its
// children): it is not touched. The view reads the archive, so it goes
// first, unless the window has deleted it already with its pages.
FrameRecords::~FrameRecords()
{
    delete view_;
}

void FrameRecords::enable()
{
    if (recorder_)
        return;
    recorder_ = std::make_unique<PanelRecorder>(ctx_.link, ctx_.prompt);
    recorder_->setEventsRecorded([this] { showArchive(); });
    ctx_.recorder = recorder_.get();

    auto *item = new QAction(QStringLiteral("&History..."), window_);
    item->setObjectName(QStringLiteral("HistoryItem"));
    item->setStatusTip(QStringLiteral("Every version of what the Corvalen held: read, backed up and written"));
    connect(item, &QAction::triggered, this, &FrameRecords::HistoryItemClick);
    actions_.File1->insertAction(actions_.FileExitItem, item);

    archivePage_ = new QWidget;
    archivePage_->setObjectName(QStringLiteral("EventArchive"));
    archivePage_->setAccessibleName(QStringLiteral("Event archive page"));
    archiveLayout_ = new QVBoxLayout(archivePage_);
    archiveLayout_->setContentsMargins(4, 4, 4, 4);
    archiveProblem_ = new QLabel(archivePage_);
    archiveProblem_->setWordWrap(true);
    archiveProblem_->hide();
    archiveLayout_->addWidget(archiveProblem_);
    QTabWidget *tabs = pages_.tabs();
    tabs->insertTab(tabs->indexOf(pages_.eventsPage()) + 1, archivePage_, QStringLiteral("Event Archive"));
    connect(tabs, &QTabWidget::currentChanged, this, [this, tabs](int index) {
        if (tabs->widget(index) == archivePage_)
            showArchive();
    });
    // Made now, so that the window can make room for it.
    showArchive();
}

ArchiveView *FrameRecords::archiveView() const
{
    return view_.data();
}

QString FrameRecords::folderOfArchive() const
{
    return QDir(PanelRecorder::folder()).absolutePath();
}

void FrameRecords::showArchive()
{
    if (!archivePage_)
        return;
    const QString folder = folderOfArchive();
    if (view_ && archiveFolder_ == folder) {
        view_->refresh();
        return;
    }
    // Another working folder: its own archive.
    delete view_;
    archive_ = std::make_unique<EventArchive>(folder);
    archiveFolder_ = folder;
    QString why;
    if (!archive_->open(&why)) {
        archive_.reset();
        archiveFolder_.clear();
        archiveProblem_->setText(QStringLiteral("The event archive of %1 cannot be opened:\r\n%2")
                                     .arg(QDir::toNativeSeparators(folder), why));
        archiveProblem_->show();
        return;
    }
    archiveProblem_->hide();
    view_ = new ArchiveView(*archive_, archivePage_);
    view_->setSiteName(QDir(folder).dirName());
    archiveLayout_->addWidget(view_, 1);
    view_->refresh();
}

void FrameRecords::HistoryItemClick()
{
    HistoryStore history(PanelRecorder::folder());
    QString why;
    if (!history.open(&why)) {
        ctx_.prompt.message(QStringLiteral("The history cannot be opened:\r\n%1").arg(why), UserPrompt::Kind::Error);
        return;
    }
    importBackups(history);
    HistoryDialog dialog(history, window_);
    connect(&dialog, &HistoryDialog::compareWithPageRequested, &dialog, [&](const HistoryVersion &v) {
        dialog.showComparisonWithPage(
            v, PageContent::of(v.kind, ctx_.directory.PhoneTable, pages_.systemPage()->controls()));
    });
    connect(&dialog, &HistoryDialog::openInPageRequested, &dialog, [&](const HistoryVersion &v) {
        if (openVersion(history, v))
            dialog.accept();
    });
    connect(&dialog, &HistoryDialog::restoreRequested, &dialog, [&](const HistoryVersion &v) {
        restoreVersion(history, v);
        dialog.refresh();
    });
    if (runDialog_)
        runDialog_(dialog);
    else
        dialog.exec();
}

// The backups kept before the history began are versions too. Reading
// them in again adds nothing.
void FrameRecords::importBackups(HistoryStore &history)
{
    if (PanelBackups *backups = backups_.backups())
        HistoryImport::importBackups(history, backups->store().folder());
}

bool FrameRecords::openVersion(HistoryStore &history, const HistoryVersion &version)
{
    QTemporaryDir scratch;
    QString why = scratch.errorString();
    const std::optional<BackupEntry> entry =
        scratch.isValid() ? VersionFiles::write(history, version, scratch.path(), &why) : std::nullopt;
    if (!entry) {
        ctx_.prompt.message(why, UserPrompt::Kind::Error);
        return false;
    }
    return backups_.openBackup(*entry);
}

bool FrameRecords::restoreVersion(HistoryStore &history, const HistoryVersion &version)
{
    PanelBackups *backups = backups_.backups();
    if (!backups) {
        ctx_.prompt.message(QStringLiteral("Restore keeps what the Corvalen holds first, and no backups "
                                           "folder is set.\r\nNothing was written to the Corvalen."),
                            UserPrompt::Kind::Error);
        return false;
    }
    HistoryContent::Parsed content;
    const VersionFiles::Fit fit = VersionFiles::check(history, version, ctx_.link.conn().DirectoryEnd, &content);
    if (!fit.fits) {
        ctx_.prompt.message(fit.problem + QStringLiteral("\r\nNothing was written to the Corvalen."),
                            UserPrompt::Kind::Error);
        return false;
    }
    if (!fit.warning.isEmpty() && !ctx_.prompt.ask(fit.warning, UserPrompt::Kind::Warning))
        return false;
    QTemporaryDir scratch;
    QString why = scratch.errorString();
    const std::optional<BackupEntry> entry =
        scratch.isValid() ? VersionFiles::write(history, version, scratch.path(), &why) : std::nullopt;
    if (!entry) {
        ctx_.prompt.message(why, UserPrompt::Kind::Error);
        return false;
    }
    return backups->restoreWithBackup(ctx_, *entry);
}
