#pragma once

#include "directory/DirectoryContext.h"

#include <QObject>

struct BackupEntry;
class FrameActions;
class FramePages;
class PanelBackups;
class QWidget;

// The backups taken before the writes that erase, and the File menu's
// "Backups..." command that lists them, restores one or opens one in its
// page.
class FrameBackups : public QObject
{
    Q_OBJECT
public:
    // window: the parent of the dialog and of the backups.
    FrameBackups(DirectoryContext &ctx, FramePages &pages, FrameActions &actions, QWidget *window);

    // Backups kept in `folder` from now on, and "Backups..." before Exit in
    // the File menu. Only the first call counts.
    void enable(const QString &folder);
    PanelBackups *backups() const { return backups_; }

    // File > "Backups...".
    void BackupsItemClick();
    // Its "Open in Page": the backup into its page, as if opened from a file,
    // and that page shown. False (nothing changed) while an exchange runs or
    // when the backup cannot be read.
    bool openBackup(const BackupEntry &entry);

private:
    DirectoryContext &ctx_;
    FramePages &pages_;
    FrameActions &actions_;
    QWidget *window_;
    PanelBackups *backups_ = nullptr;
};
