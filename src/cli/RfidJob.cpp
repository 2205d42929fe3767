#include "cli/RfidJob.h"

#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/HistoryHook.h"
#include "directory/PhoneFields.h"
#include "directory/PhoneListFile.h"
#include "rfid/RfidDownload.h"
#include "rfid/RfidWriteAll.h"

namespace {
constexpr int kStoreRecords = 128; // 1408 to 1535
constexpr int kCodesPerRecord = 4;
} // namespace

CliExit RfidJob::prepare(PinSource &)
{
    if (options_.command->job == CliCommand::Job::RfidGet)
        return canCreate(options_.file) ? CliExit::Done : CliExit::Refused;
    const CliExit read = readList(PhoneListCheck::Purpose::Tags);
    if (read == CliExit::Done)
        summary_.counts.insert(QStringLiteral("codes"), codeCount());
    return read;
}

CliExit RfidJob::run()
{
    return options_.command->job == CliCommand::Job::RfidGet ? get() : put();
}

// Entries with both a room and a code: those the write takes.
int RfidJob::codeCount() const
{
    const Table &table = session_.directory().PhoneTable;
    int codes = 0;
    for (int row = 0; row < table.count(); ++row)
        if (!table.value(row, PhoneFields::RoomNumber).isEmpty() && !table.value(row, PhoneFields::Rfid).isEmpty())
            ++codes;
    return codes;
}

CliExit RfidJob::get()
{
    CliProgress &progress = session_.progress();
    progress.stage(QStringLiteral("Reading the RFID store"));
    progress.expectLines(kStoreRecords + 2);
    const RfidDownload::Outcome outcome = RfidDownload(session_.ctx()).download_idClick();
    progress.finish();
    if (outcome != RfidDownload::Outcome::Completed)
        return CliExit::LinkFailed; // "communication error" was shown
    HistoryHook::tagsRead(session_);
    summary_.counts.insert(QStringLiteral("codes"), codeCount());
    progress.stage(QStringLiteral("Saving %1").arg(fileName()));
    if (!saveList())
        return CliExit::Refused;
    return CliExit::Done;
}

CliExit RfidJob::put()
{
    using O = RfidWriteAll::Outcome;
    if (!takeBackup())
        return CliExit::Refused;
    CliProgress &progress = session_.progress();
    progress.stage(QStringLiteral("Writing the RFID store"));
    const int records = qMin(kStoreRecords, (codeCount() + kCodesPerRecord - 1) / kCodesPerRecord);
    progress.expectCommands("g", records);
    RfidWriteAll write(session_.ctx());
    const O outcome = write.writeall_idClick();
    const int sent = qMin(records, progress.counted());
    progress.finish();
    summary_.counts.insert(QStringLiteral("failed_records"), write.failureCount());
    switch (outcome) {
    case O::Completed:
    case O::SomeFailed:
    case O::LimitReached:
    case O::Unfinished:
    case O::LineLost: {
        HistoryWriteResult result;
        result.total = records;
        result.cutShort = outcome == O::Unfinished || outcome == O::LineLost;
        result.refused = write.failureCount();
        result.written = qMax(0, (result.cutShort ? sent : records) - result.refused);
        HistoryHook::tagsWrite(session_, result);
        break;
    }
    default:
        break;
    }
    switch (outcome) {
    case O::Completed:
        return CliExit::Done;
    case O::CommunicationError:
    case O::LineLost:
    case O::Busy:
    case O::Unfinished:
        return CliExit::LinkFailed;
    case O::BadCode:
    case O::LimitReached:
        // The window tells these as information; here they are why the job failed.
        session_.prompt().lastMessageIsError();
        break;
    case O::UnsendableEntry:
    case O::SomeFailed:
    case O::Declined:
        break;
    }
    return CliExit::Refused;
}
