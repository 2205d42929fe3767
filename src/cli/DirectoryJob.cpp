#include "cli/DirectoryJob.h"

#include "backup/DirectoryComparison.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "directory/DirectoryListing.h"
#include "directory/DirectorySlots.h"
#include "directory/DirectoryTransfer.h"
#include "directory/PhoneListFile.h"

namespace {
// The reply to "d01281152": its first line, one line a slot of the model, "OK".
int directoryReplyLines(qint32 directoryEnd)
{
    const int records = directoryEnd >= DirectorySlots::kFirst
                          ? (directoryEnd - DirectorySlots::kFirst) / DirectorySlots::kStep + 1
                          : 0;
    return records + 2;
}
} // namespace

CliExit DirectoryJob::prepare(PinSource &)
{
    if (options_.command->job == CliCommand::Job::DirectoryGet)
        return canCreate(options_.file) ? CliExit::Done : CliExit::Refused;
    // The list is read before the log-on: a file that cannot be read costs
    // no connection.
    if (!PhoneListFile(session_.ctx()).open(options_.file))
        return CliExit::Refused;
    summary_.counts.insert(QStringLiteral("entries"), session_.directory().PhoneTable.count());
    return CliExit::Done;
}

CliExit DirectoryJob::run()
{
    return options_.command->job == CliCommand::Job::DirectoryGet ? get() : put();
}

CliExit DirectoryJob::get()
{
    CliProgress &progress = session_.progress();
    progress.stage(QStringLiteral("Reading the phone directory"));
    progress.expectLines(directoryReplyLines(session_.link().conn().DirectoryEnd));
    const DirectoryTransfer::Outcome outcome = DirectoryTransfer(session_.ctx()).GetDataClick();
    progress.finish();
    if (outcome != DirectoryTransfer::Outcome::Completed)
        return CliExit::LinkFailed; // "communication error" was shown; no file is written

    summary_.counts.insert(QStringLiteral("entries"), session_.directory().PhoneTable.count());
    progress.stage(QStringLiteral("Saving %1").arg(options_.file));
    if (!PhoneListFile(session_.ctx()).saveAs(options_.file))
        return CliExit::Refused;
    return CliExit::Done;
}

CliExit DirectoryJob::put()
{
    using O = DirectoryTransfer::Outcome;
    const int entries = session_.directory().PhoneTable.count();
    if (entries == 0) {
        // The window does nothing at all for an empty list; a script is told.
        session_.prompt().error(QStringLiteral("%1 holds no entries.\r\nNothing was written to the Corvalen.")
                                    .arg(options_.file));
        return CliExit::Refused;
    }
    // What can refuse the list without the panel, before the backup reads it.
    DirectoryTransfer transfer(session_.ctx());
    if (!transfer.WriteDataChecks())
        return CliExit::Refused;
    warnUnreadable();
    if (!takeBackup())
        return CliExit::Refused;

    CliProgress &progress = session_.progress();
    progress.stage(QStringLiteral("Writing the phone directory"));
    progress.expectCommands("b", entries);
    const O outcome = transfer.WriteDataClick();
    progress.finish();
    summary_.counts.insert(QStringLiteral("written"), transfer.writtenCount());
    summary_.counts.insert(QStringLiteral("refused"), transfer.errorCount());
    switch (outcome) {
    case O::Completed:
        return CliExit::Done;
    case O::EraseFailed:
    case O::Unfinished:
    case O::Busy:
    case O::CommunicationError:
        return CliExit::LinkFailed;
    case O::NotStarted:
    case O::NothingToWrite:
    case O::SomeRefused:
        break;
    }
    return CliExit::Refused;
}

// Entries without a Name or a RoomNumber go to the panel as they are, but
// neither GetData nor `directory get` reads such a slot back: say which.
void DirectoryJob::warnUnreadable()
{
    QStringList named;
    int row = 0;
    for (const PanelEntry &e : DirectoryComparison::tableEntries(session_.directory().PhoneTable)) {
        ++row;
        if (DirectoryListing::holdsData(e) && !DirectoryListing::isResident(e))
            named << QString::number(row);
    }
    if (named.isEmpty())
        return;
    session_.prompt().message(
        QStringLiteral("%1 entr(ies) of %2 without a Name or a RoomNumber (entry %3) are written,\r\n"
                       "but directory get and GetData leave such slots out: they will not come back.")
            .arg(named.size())
            .arg(options_.file, named.join(QStringLiteral(", "))),
        UserPrompt::Kind::Warning);
}
