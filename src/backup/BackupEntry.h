#pragma once

#include "backup/BackupName.h"

#include <QString>
#include <QStringList>

// One backup in the backups folder: its name (that of the file which
// stands for it) and every file that belongs to it.
struct BackupEntry
{
    BackupName name;
    QString path;         // the file that stands for it: .csv, .sys or .rfid
    QStringList files;    // every file of the backup, that one included
    int count = -1;       // residents, records or tags; -1 when unreadable

    BackupKind kind() const { return name.kind; }
    QString fileName() const { return name.fileName(); }
    // "42 residents", "10 records", "16 tags"; "unreadable".
    QString countText() const;
};
