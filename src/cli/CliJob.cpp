#include "cli/CliJob.h"

#include "cli/BackupHook.h"
#include "cli/CliOptions.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"

#include <QFileInfo>

CliJob::CliJob(CliSession &session, const CliOptions &options, CliSummary &summary, CliConsole &console)
    : session_(session)
    , options_(options)
    , summary_(summary)
    , console_(console)
{
}

CliExit CliJob::prepare(PinSource &)
{
    return CliExit::Done;
}

bool CliJob::canCreate(const QString &file)
{
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (!info.isDir() && folder.isDir() && folder.isWritable() && (!info.exists() || info.isWritable()))
        return true;
    session_.prompt().error(QStringLiteral("Cannot create file %1").arg(file));
    return false;
}

bool CliJob::takeBackup()
{
    const BackupHook::Result backup = BackupHook::beforePut(session_, options_.command->job);
    if (!backup.ok) {
        session_.prompt().error(backup.error + QStringLiteral("\r\nNothing was written to the Corvalen."));
        return false;
    }
    summary_.backup = backup.path;
    if (!backup.path.isEmpty())
        session_.prompt().message(QStringLiteral("Backup saved to %1").arg(backup.path));
    return true;
}
