#pragma once

#include "backup/BackupEntry.h"

#include <QDialog>
#include <functional>

class BackupStore;
class QTreeWidget;
class QPushButton;

// File > "Backups...": the backups newest first (date, model, kind and
// count), "Restore" for the chosen one (the window takes a backup of what
// the panel holds now, then puts the chosen one back) and "Open folder".
class BackupsDialog : public QDialog
{
    Q_OBJECT
public:
    using Restore = std::function<void(const BackupEntry &)>;
    BackupsDialog(BackupStore &store, Restore restore, QWidget *parent = nullptr);

    void refresh();

private:
    void updateButtons();

    BackupStore &store_;
    Restore restore_;
    QList<BackupEntry> entries_;
    QTreeWidget *list_ = nullptr;
    QPushButton *restoreButton_ = nullptr;
};
