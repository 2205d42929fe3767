#pragma once

#include "directory/DirectoryContext.h"
#include "history/HistoryVersion.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class ArchiveView;
class EventArchive;
class FrameActions;
class FrameBackups;
class FramePages;
class HistoryStore;
class PanelRecorder;
class QAction;
class QDialog;
class QLabel;
class QVBoxLayout;
class QWidget;

// What the window keeps of the panel beyond the pages: every read, backup
// and write as a version in the working folder's history, every event
// download in its event archive (PanelRecorder on the transfer context);
// File > "History..." over that history; and the "Event Archive" page beside
// the Events page, searched and charted, refreshed after each download. The
// working folder is the one at the time (a site's folder once a site is
// open): the history is opened anew for each record and each "History...",
// and the archive page follows the folder when it is shown.
class FrameRecords : public QObject
{
    Q_OBJECT
public:
    FrameRecords(DirectoryContext &ctx, FramePages &pages, FrameActions &actions, FrameBackups &backups,
                 QWidget *window);
    ~FrameRecords() override;

    // Records from now on, "History..." in the File menu and the archive
    // page. Only the first call counts.
    void enable();
    bool enabled() const { return recorder_ != nullptr; }

    // File > "History...".
    void HistoryItemClick();
    // The archive page, over the working folder's archive as it is now.
    void showArchive();
    QWidget *archivePage() const { return archivePage_; }
    ArchiveView *archiveView() const;

    // Seam for tests: how the History dialog is run (exec() by default).
    void setDialogRunner(std::function<void(QDialog &)> run) { runDialog_ = std::move(run); }

private:
    bool openVersion(HistoryStore &history, const HistoryVersion &version);
    bool restoreVersion(HistoryStore &history, const HistoryVersion &version);
    void importBackups(HistoryStore &history);
    QString folderOfArchive() const;

    DirectoryContext &ctx_;
    FramePages &pages_;
    FrameActions &actions_;
    FrameBackups &backups_;
    QWidget *window_;
    std::unique_ptr<PanelRecorder> recorder_;
    QWidget *archivePage_ = nullptr;
    QVBoxLayout *archiveLayout_ = nullptr;
    QLabel *archiveProblem_ = nullptr;
    std::unique_ptr<EventArchive> archive_;
    QString archiveFolder_;
    QPointer<ArchiveView> view_;
    std::function<void(QDialog &)> runDialog_;
};
