#include "cli/DirectoryJob.h"

#include "directory/DirectoryComparison.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/HistoryHook.h"
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
    // The list is read and checked before the log-on: a file that cannot
    // be read, or cannot go to the panel, costs no connection.
    return readList(PhoneListCheck::Purpose::Directory);
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
    HistoryHook::directoryRead(session_);

    summary_.counts.insert(QStringLiteral("entries"), session_.directory().PhoneTable.count());
    progress.stage(QStringLiteral("Saving %1").arg(fileName()));
    if (!saveList())
        return CliExit::Refused;
    return CliExit::Done;
}

CliExit DirectoryJob::put()
{
    using O = DirectoryTransfer::Outcome;
    const int entries = session_.directory().PhoneTable.count(); // never 0: readList() refuses an empty list
    // What can refuse the list without the panel, before the backup reads it.
    DirectoryTransfer transfer(session_.ctx());
    if (!transfer.WriteDataChecks())
        return CliExit::Refused;
    if (!takeBackup())
        return CliExit::Refused;

    CliProgress &progress = session_.progress();
    progress.stage(QStringLiteral("Writing the phone directory"));
    progress.expectCommands("b", entries);
    const O outcome = transfer.WriteDataClick();
    progress.finish();
    summary_.counts.insert(QStringLiteral("written"), transfer.writtenCount());
    summary_.counts.insert(QStringLiteral("refused"), transfer.errorCount());
    if (outcome == O::Completed || outcome == O::SomeRefused || outcome == O::Unfinished) {
        HistoryWriteResult result;
        result.written = transfer.writtenCount();
        result.total = entries;
        result.refused = transfer.errorCount();
        result.cutShort = outcome == O::Unfinished;
        HistoryHook::directoryWrite(session_, transfer.writtenCount() + transfer.errorCount(), result);
    }
    switch (outcome) {
    case O::Completed:
        return CliExit::Done;
    case O::EraseFailed:
    case O::Unfinished:
    case O::Busy:
    case O::CommunicationError:
        return CliExit::LinkFailed;
    case O::NotStarted:
        // "... is the limit." and the like: information in the window, the
        // reason of the failure here.
        session_.prompt().lastMessageIsError();
        break;
    case O::NothingToWrite:
    case O::SomeRefused:
        break;
    }
    return CliExit::Refused;
}

