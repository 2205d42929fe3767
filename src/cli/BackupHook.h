#pragma once

#include "cli/CliCommand.h"

#include <QString>

class CliSession;

// The one place where a put saves what the panel holds before changing it.
// Called logged on, right before the first write: for parameters put the
// session's controls already hold the panel's values (it reads them
// first); for directory put and rfid put nothing has been read yet.
// A backup that fails stops the put before anything is written.
namespace BackupHook {

struct Result
{
    bool ok = true;
    QString path;  // where the backup went; empty when none was taken
    QString error; // why it failed
};

// folder: where the backups are kept (the site's folder, or the program's
// backups folder); siteName: the site whose backups they are, empty outside
// any site.
Result beforePut(CliSession &session, CliCommand::Job job, const QString &folder, const QString &siteName);

} // namespace BackupHook
