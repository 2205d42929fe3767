#pragma once

#include "backup/BackupEntry.h"

#include <QDialog>
#include <functional>

class BackupStore;
class QTreeWidget;
class QPushButton;

// File > "Backups...": the backups newest first (date, model, kind and
// count), "Restore" for the chosen one (the window takes a backup of what
// the panel holds now, then puts the chosen one back), "Open in Page" (the
// window loads it into its page; the dialog closes when it did) and "Open
// folder".
class BackupsDialog : public QDialog
{
    Q_OBJECT
public:
    using Restore = std::function<void(const BackupEntry &)>;
    // True when the backup is now in its page.
    using Open = std::function<bool(const BackupEntry &)>;
    BackupsDialog(BackupStore &store, Restore restore, Open open, QWidget *parent = nullptr);

    void refresh();

private:
    void updateButtons();
    const BackupEntry *chosen() const;

    BackupStore &store_;
    Restore restore_;
    Open open_;
    QList<BackupEntry> entries_;
    QTreeWidget *list_ = nullptr;
    QPushButton *restoreButton_ = nullptr;
    QPushButton *openButton_ = nullptr;
};
