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
    // The backups of a site from now on: kept in its folder, named with it,
    // and the retention rule counting that site's alone. Nothing before
    // enable().
    void followSite(const QString &folder, const QString &siteName);

    // File > "Backups...".
    void BackupsItemClick();
    // Its "Open in Page": the backup into its page, as if opened from a file,
    // and that page shown. False (nothing changed) while an exchange runs or
    // when the backup cannot be read, is of another model than the panel
    // logged on, or is another site's and the user says No.
    bool openBackup(const BackupEntry &entry);

private:
    DirectoryContext &ctx_;
    FramePages &pages_;
    FrameActions &actions_;
    QWidget *window_;
    PanelBackups *backups_ = nullptr;
};
