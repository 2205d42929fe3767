#pragma once

#include <QString>
#include <QStringList>

class HistoryStore;

// Reads the backups kept in a backups folder (BackupStore's files) into a
// history as versions of action "backup", at the times the backups were
// taken, so that what was kept before the history existed is not lost.
// Running it again adds nothing: a backup already read in, or one the
// history recorded itself when it was taken (same kind and content in the
// same second), is passed over. The backups folder is only read.
namespace HistoryImport {

struct Result
{
    int added = 0;
    int alreadyThere = 0;
    QStringList problems; // backups that could not be read, with the reason
};

Result importBackups(HistoryStore &store, const QString &backupsFolder);

} // namespace HistoryImport
