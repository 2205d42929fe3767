#pragma once

#include "cli/CliExit.h"
#include "directory/PhoneListCheck.h"
#include "table/TableFile.h"

#include <QByteArray>
#include <QString>
#include <optional>

class CliConsole;
class CliSession;
class CliWorkplace;
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
    // Whether run() needs the panel: false for a job over the folder's
    // records or files alone, which runs without a log-on.
    virtual bool needsPanel() const { return true; }

    // Where the run works (its backups' folder and site); a job without
    // one keeps its backups in the program's backups folder.
    void setWorkplace(const CliWorkplace *workplace) { workplace_ = workplace; }

protected:
    // The file of a get can be created: its folder exists and is writable.
    // Says "Cannot create file <name>" when not. Standard output ("-") can.
    bool canCreate(const QString &file);
    // A put's file that is a backup (by its name) fits the panel: its model,
    // and its site unless the user agreed (BackupMatch). False, with the
    // message, stops the put before anything is written.
    bool fitsPanel();
    // Checks the put's file with fitsPanel(), then takes the backup before
    // a put; false (with its message) stops the put.
    // A run interrupted meanwhile stops there too, before any write.
    bool takeBackup();
    // A signal asked the run to stop: a get then saves nothing.
    static bool stopped();

    // The job's file as messages name it ("-" is standard input or output).
    QString fileName() const;
    // The put's file (standard input for "-"), whole, at most maxBytes:
    // nothing, after "Cannot open file <name>", when it cannot be read.
    std::optional<QByteArray> readInput(qint64 maxBytes = TableFile::kMaxFileBytes);
    // A get's data: the file replaced whole, or standard output for "-".
    // "Cannot create file <name>" on failure.
    bool writeOutput(const QByteArray &bytes);
    // The session's phone table as the get's phone list.
    bool saveList();
    // A put's phone list, read and checked before the log-on
    // (PhoneListCheck): a list that cannot go as it stands is refused with
    // the reason; what would be cut, dropped or replaced is told as
    // warnings (and refuses the list under --strict); then the entries
    // become the session's table.
    CliExit readList(PhoneListCheck::Purpose purpose);

    CliSession &session_;
    const CliOptions &options_;
    CliSummary &summary_;
    CliConsole &console_;
    const CliWorkplace *workplace_ = nullptr;
};
