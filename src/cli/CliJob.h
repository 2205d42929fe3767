#pragma once

#include "cli/CliExit.h"

#include <QString>

class CliConsole;
class CliSession;
class PinSource;
struct CliOptions;
struct CliSummary;

// One job of corvalen-cli. prepare() runs before the PIN is asked and the
// port opened: it checks and reads the input, so that a bad file costs no
// log-on. run() does the job on the logged-on session. Both report through
// the session's prompt and fill the summary.
class CliJob
{
public:
    CliJob(CliSession &session, const CliOptions &options, CliSummary &summary, CliConsole &console);
    virtual ~CliJob() = default;

    virtual CliExit prepare(PinSource &pins);
    virtual CliExit run() = 0;

protected:
    // The file of a get can be created: its folder exists and is writable.
    // Says "Cannot create file <name>" when not.
    bool canCreate(const QString &file);
    // Takes the backup before a put; false (with its message) stops the put.
    bool takeBackup();

    CliSession &session_;
    const CliOptions &options_;
    CliSummary &summary_;
    CliConsole &console_;
};
