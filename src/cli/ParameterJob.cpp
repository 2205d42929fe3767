#include "cli/ParameterJob.h"

#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/HistoryHook.h"
#include "cli/PinSource.h"
#include "parameters/ParameterFile.h"
#include "parameters/ParameterFileRecord.h"
#include "parameters/ParameterLineBytes.h"
#include "parameters/ParameterReads.h"
#include "parameters/ParameterWrites.h"
#include "parameters/SystemParameters.h"

namespace {
constexpr int kParameterRecords = 10; // 0001 to 0010
// Read All: the codes twice, the messages, the system parameters, the speed dials.
constexpr int kReadAllCommands = 5;
} // namespace

ParameterJob::~ParameterJob()
{
    newPin_.fill('\0');
}

CliExit ParameterJob::prepare(PinSource &pins)
{
    switch (options_.command->job) {
    case CliCommand::Job::ParametersGet:
        return canCreate(options_.file) ? CliExit::Done : CliExit::Refused;
    case CliCommand::Job::ParametersPut: {
        // Checked on a scratch copy first; the session's controls take the
        // file once they hold what the panel has.
        ParameterControls scratch;
        if (!loadFile(scratch) || !ParameterFile::ApplyParameterFile(scratch, session_.prompt()))
            return CliExit::Refused;
        fileImage_ = scratch.fileRecord().bytes();
        // Every value is checked before the log-on, as Write All checks
        // them: a number that is not whole, or a message the line cannot
        // carry, costs no connection and changes nothing on the panel.
        const QString lineBytes = ParameterLineBytes::refusal(scratch, ParameterLineBytes::kMessages);
        if (!lineBytes.isEmpty())
            session_.prompt().error(lineBytes);
        if (!lineBytes.isEmpty() || !SystemParameters::EncodeSystemParameters(scratch, session_.prompt())) {
            session_.prompt().error(QStringLiteral("Nothing was written to the Corvalen."));
            return CliExit::Refused;
        }
        return CliExit::Done;
    }
    case CliCommand::Job::PinSet: {
        const PinSource::Result pin = pins.newPin();
        if (!pin.pin) {
            session_.prompt().error(pin.error);
            return CliExit::Refused;
        }
        newPin_ = *pin.pin;
        return CliExit::Done;
    }
    default:
        return CliExit::Done;
    }
}

CliExit ParameterJob::run()
{
    switch (options_.command->job) {
    case CliCommand::Job::ParametersGet: return get();
    case CliCommand::Job::ParametersPut: return put();
    default: return setPin();
    }
}

bool ParameterJob::loadFile(ParameterControls &c)
{
    if (!options_.fileIsStdio())
        return ParameterFile::LoadParameterFile(c, options_.file, session_.prompt());
    const std::optional<QByteArray> input = readInput();
    if (!input)
        return false;
    if (c.fileRecord().setBytes(input->left(ParameterFileRecord::kSize)))
        return true;
    session_.prompt().error(UserPrompt::joinLines({QStringLiteral("Could not Load from file"), fileName()}));
    return false;
}

bool ParameterJob::readAll()
{
    CliProgress &progress = session_.progress();
    progress.stage(QStringLiteral("Reading the parameters"));
    progress.expectCommands("rd", kReadAllCommands);
    const bool whole = ParameterReads::readAll(session_.ctx(), session_.controls());
    progress.finish();
    if (!whole)
        session_.prompt().error(QStringLiteral("The Corvalen did not answer every read."));
    return whole;
}

CliExit ParameterJob::get()
{
    if (!readAll()) {
        session_.prompt().error(QStringLiteral("Nothing was saved."));
        return CliExit::LinkFailed;
    }
    ParameterControls &c = session_.controls();
    ParameterFile::CaptureParameterFile(c);
    HistoryHook::parametersRead(session_);
    session_.progress().stage(QStringLiteral("Saving %1").arg(fileName()));
    if (stopped()
        || (options_.fileIsStdio() ? !writeOutput(c.fileRecord().bytes())
                                   : !ParameterFile::SaveParameterFile(c, options_.file, session_.prompt())))
        return CliExit::Refused;
    summary_.counts.insert(QStringLiteral("records"), kParameterRecords);
    return CliExit::Done;
}

CliExit ParameterJob::put()
{
    using O = ParameterWrites::WriteAllResult::Outcome;
    // What the file does not hold (ring count, silence and contact times,
    // the relay compatibility option) stays as the panel has it.
    if (!readAll()) {
        session_.prompt().error(QStringLiteral("Nothing was written to the Corvalen."));
        return CliExit::LinkFailed;
    }
    if (!takeBackup())
        return CliExit::Refused;
    ParameterControls &c = session_.controls();
    if (!c.fileRecord().setBytes(fileImage_) || !ParameterFile::ApplyParameterFile(c, session_.prompt()))
        return CliExit::Refused;

    CliProgress &progress = session_.progress();
    progress.stage(QStringLiteral("Writing the parameters"));
    progress.expectCommands("p", kParameterRecords);
    const ParameterWrites::WriteAllResult result = ParameterWrites::writeAll(session_.ctx(), c);
    progress.finish();
    summary_.counts.insert(QStringLiteral("records"), kParameterRecords);
    summary_.counts.insert(QStringLiteral("refused"), int(result.refused.size()));
    if (result.outcome == O::Completed || result.outcome == O::SomeRefused || result.outcome == O::Unfinished) {
        HistoryWriteResult written;
        written.total = kParameterRecords;
        written.refused = int(result.refused.size());
        written.written = result.written - written.refused;
        written.cutShort = result.outcome == O::Unfinished;
        for (const int record : result.refused)
            written.refusedItems << QStringLiteral("record %1").arg(record, 4, 10, QLatin1Char('0'));
        HistoryHook::parametersWrite(session_, result.written, written);
    }
    switch (result.outcome) {
    case O::Completed:
        return CliExit::Done;
    case O::Busy:
    case O::Unfinished: // the line went (or the run was interrupted) between two records
        return CliExit::LinkFailed;
    case O::Declined:
    case O::BadText:
    case O::BadNumber:
    case O::SomeRefused:
        break;
    }
    return CliExit::Refused;
}

CliExit ParameterJob::setPin()
{
    ParameterControls &c = session_.controls();
    c.setText(ParamEdit::NewPin, newPin_);
    session_.progress().stage(QStringLiteral("Programming the new PIN"));
    const bool taken = ParameterWrites::updatePin(session_.ctx(), c);
    c.setText(ParamEdit::NewPin, QByteArray());
    return taken ? CliExit::Done : CliExit::Refused;
}
