#include "cli/EventJob.h"

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/HistoryHook.h"
#include "events/EventFile.h"
#include "events/EventTransfer.h"

CliExit EventJob::prepare(PinSource &)
{
    if (options_.command->job == CliCommand::Job::EventsGet)
        return canCreate(options_.file) ? CliExit::Done : CliExit::Refused;
    return CliExit::Done;
}

CliExit EventJob::run()
{
    switch (options_.command->job) {
    case CliCommand::Job::EventsGet: return getEvents();
    case CliCommand::Job::ClockGet: return getClock();
    default: return setClock();
    }
}

void EventJob::reportClock(bool print)
{
    const ClockFields &clock = log_.clock;
    summary_.clock.insert(QStringLiteral("corvalen_time"), clock.Stime());
    summary_.clock.insert(QStringLiteral("corvalen_date"), clock.Sdate());
    summary_.clock.insert(QStringLiteral("computer_time"), clock.Ctime());
    summary_.clock.insert(QStringLiteral("computer_date"), clock.Cdate());
    if (print && !options_.json)
        console_.out(QStringLiteral("Corvalen time: %1  %2\nComputer time: %3  %4\n")
                         .arg(clock.Stime(), clock.Sdate(), clock.Ctime(), clock.Cdate())
                         .toLocal8Bit());
}

CliExit EventJob::clockFailure() const
{
    return session_.link().RxMemo().text().isEmpty() ? CliExit::LinkFailed : CliExit::Refused;
}

CliExit EventJob::getEvents()
{
    using O = EventTransfer::Outcome;
    CliProgress &progress = session_.progress();
    progress.stage(QStringLiteral("Reading the event log"));
    const O outcome = EventTransfer(session_.ctx(), log_).dnLoadClick();
    // A log that stopped at a line the grid cannot read is kept all the same.
    if (outcome == O::Completed || outcome == O::BadEventLine)
        HistoryHook::events(session_, log_);
    switch (outcome) {
    case O::Completed:
        break;
    case O::NotOnLine:
        // The window says it in the memo and the status bar, not in a box.
        session_.prompt().error(QStringLiteral("Not on line"));
        return CliExit::LinkFailed;
    case O::BadClock:
        return clockFailure();
    case O::Busy:
        return CliExit::LinkFailed;
    case O::BadEventLine:
        return CliExit::Refused; // its message was shown; a partial log is not saved
    }
    reportClock(false);
    summary_.counts.insert(QStringLiteral("events"), log_.EventTable.count());
    progress.stage(QStringLiteral("Saving %1").arg(fileName()));
    return writeOutput(EventFile::format(log_)) ? CliExit::Done : CliExit::Refused;
}

CliExit EventJob::getClock()
{
    session_.progress().stage(QStringLiteral("Reading the clock"));
    if (EventTransfer(session_.ctx(), log_).readClock() != EventTransfer::Outcome::Completed)
        return clockFailure();
    reportClock(true);
    return CliExit::Done;
}

CliExit EventJob::setClock()
{
    using O = EventTransfer::SetClockOutcome;
    session_.progress().stage(QStringLiteral("Setting the clock"));
    EventTransfer transfer(session_.ctx(), log_);
    switch (transfer.setClock()) {
    case O::Completed:
        break;
    case O::Refused:
        session_.prompt().error(QStringLiteral("The Corvalen did not take the time."));
        return CliExit::Refused;
    case O::NoAnswer:
    case O::Busy:
        session_.prompt().error(QStringLiteral("The Corvalen did not answer the new time."));
        return CliExit::LinkFailed;
    }
    // The clock as the panel now has it.
    if (transfer.readClock() != EventTransfer::Outcome::Completed)
        return clockFailure();
    reportClock(true);
    return CliExit::Done;
}
