#pragma once

#include "backup/BackupEntry.h"
#include "directory/PanelEntry.h"
#include "parameters/ParameterRecordSet.h"
#include "rfid/StoreImage.h"

#include <QList>
#include <QString>

class CommandExchange;

// Puts a backup back on the panel as it was, without going through a page:
// the Backups window's Restore and the command line use it. Each restore
// erases what it replaces first (the directory with "f5a", the RFID store
// with "c1418"); the caller has taken a backup of the panel's present
// state before, as for every write that erases.
//
//  - directory: every resident to the slot it was read from, so the panel's
//    slots (gaps included) are what they were;
//  - parameters: records 0001 to 0010 through the verified record write,
//    then the apply command "u" (the PIN is never part of a backup);
//  - tags: every record of the store that was not erased, to its number.
namespace BackupRestore {

struct Result
{
    int written = 0;  // entries or records the panel took
    int failed = 0;   // refused ones (the restore goes on with the next)
    QString error;    // why it stopped before writing, or could not start
    bool ok() const { return error.isEmpty() && failed == 0; }
};

Result restoreDirectory(CommandExchange &link, const QList<PanelEntry> &entries);
Result restoreParameters(CommandExchange &link, const ParameterRecordSet &records);
Result restoreTags(CommandExchange &link, const StoreImage &image);

// Reads the backup's files and restores them by its kind.
Result restore(CommandExchange &link, const BackupEntry &entry);

} // namespace BackupRestore
