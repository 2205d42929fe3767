#pragma once

#include "backup/BackupEntry.h"
#include "rfid/StoreImage.h"

#include <QString>
#include <optional>

struct DirectoryContext;
class ParameterControls;
class UserPrompt;

// What the Backups window's "Open in Page" loads, below the pages: a backup
// read as if opened from a file, for the user to look at, edit and write
// with the page's own Write All. Nothing is sent to the panel.
namespace BackupOpen {

// The name a phone list opened from a backup is saved under: the backup's
// file name in `folder` (where New keeps its list), with "-2", "-3" ...
// before the extension when a file of that name exists. Save must never
// write into the backups folder, nor over a list of the user's.
QString listFileName(const BackupEntry &entry, const QString &folder);

// The backup's phone list into the phone table as File Open reads it (the
// table then does not stand for the panel); DBFiles becomes
// listFileName(entry, folder). False, with the message shown, when the
// file cannot be read.
bool openDirectory(DirectoryContext &ctx, const BackupEntry &entry, const QString &folder);

// The backup's parameter file into the controls as File Open reads it;
// then, from the records kept beside it, the values of record 0001 the
// parameter file has no room for (ring counts, timers, an option), so that
// Write All puts back what the panel held. False when the parameter file
// cannot be read or applied (its messages shown).
bool openParameters(ParameterControls &controls, const BackupEntry &entry, UserPrompt &prompt);

// The RFID store of a tags backup; none, with the reason, when its file
// cannot be read or is not such a file.
std::optional<StoreImage> tagStore(const BackupEntry &entry, QString *why);

} // namespace BackupOpen
