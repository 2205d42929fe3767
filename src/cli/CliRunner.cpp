#include "cli/CliRunner.h"

#include "cli/CliConsole.h"
#include "cli/CliHelp.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/DirectoryJob.h"
#include "cli/EventJob.h"
#include "cli/IdentifyJob.h"
#include "cli/ParameterJob.h"
#include "cli/PinSource.h"
#include "cli/RfidJob.h"
#include "link/PortAddress.h"
#include "link/Waiter.h"

#include <QFileInfo>
#include <memory>

namespace {

using Job = CliCommand::Job;

std::unique_ptr<CliJob> makeJob(CliSession &session, const CliOptions &options, CliSummary &summary,
                                CliConsole &console)
{
    switch (options.command->job) {
    case Job::DirectoryGet:
    case Job::DirectoryPut:
        return std::make_unique<DirectoryJob>(session, options, summary, console);
    case Job::ParametersGet:
    case Job::ParametersPut:
    case Job::PinSet:
        return std::make_unique<ParameterJob>(session, options, summary, console);
    case Job::EventsGet:
    case Job::ClockGet:
    case Job::ClockSet:
        return std::make_unique<EventJob>(session, options, summary, console);
    case Job::RfidGet:
    case Job::RfidPut:
        return std::make_unique<RfidJob>(session, options, summary, console);
    case Job::Identify:
        break;
    }
    return std::make_unique<IdentifyJob>(session, options, summary, console);
}

// The port name the serial port opens: COM1 to COM4 as they are, anything
// else through the map's COM2, which this run then owns.
QString choosePort(const PortAddress &address, DeviceMap &devices)
{
    if (address.kind() == PortAddress::Kind::PortName)
        return QStringLiteral("COM%1").arg(address.portNumber());
    devices.setDevice(2, address.toString());
    return QStringLiteral("COM2");
}

} // namespace

CliRunner::CliRunner(SerialPort &port, DeviceMap &devices, Waiter &waiter, CliConsole &console,
                     QProcessEnvironment environment)
    : port_(port)
    , devices_(devices)
    , waiter_(waiter)
    , console_(console)
    , environment_(std::move(environment))
{
}

int CliRunner::run(const QStringList &args, const QString &program)
{
    const qint64 startedNs = waiter_.nowNs();
    const CliOptions options = CliOptions::parse(args, devices_);
    if (options.version) {
        console_.out(CliHelp::version(program).toLocal8Bit());
        return exitStatus(CliExit::Done);
    }
    if (options.help) {
        const QString text = options.group.isEmpty() ? CliHelp::usage(program)
                                                     : CliHelp::groupUsage(program, options.group);
        console_.out(text.toLocal8Bit());
        return exitStatus(CliExit::Done);
    }
    if (!options.error.isEmpty()) {
        console_.err((program + QStringLiteral(": ") + options.error + QLatin1Char('\n')
                      + CliHelp::tryHelp(program))
                         .toLocal8Bit());
        if (options.json) {
            CliSummary summary;
            summary.exit = exitStatus(CliExit::Usage);
            summary.errors << options.error;
            console_.out(summary.toJson());
        }
        return exitStatus(CliExit::Usage);
    }

    devices_ = options.devices;
    port_.setPortName(choosePort(*PortAddress::parse(options.port), devices_));

    const CliProgress::Mode mode = options.quiet             ? CliProgress::Mode::Quiet
                                   : console_.errIsTerminal() ? CliProgress::Mode::Bar
                                                             : CliProgress::Mode::Lines;
    CliPrompt prompt(console_, options.quiet);
    CliProgress progress(console_, mode);
    CliSummary summary;
    summary.action = options.command->name();
    if (!options.file.isEmpty())
        summary.file = QFileInfo(options.file).absoluteFilePath();

    CliExit exit = CliExit::Done;
    {
        CliSession session(port_, waiter_, prompt, progress);
        std::unique_ptr<CliJob> job = makeJob(session, options, summary, console_);
        PinSource pins(environment_, console_);
        exit = job->prepare(pins);
        if (exit == CliExit::Done) {
            PinSource::Result pin = pins.logOnPin(options.pinFile);
            if (!pin.pin) {
                prompt.error(pin.error);
                exit = CliExit::Usage;
            } else {
                exit = session.logOn(*pin.pin);
                pin.pin->fill('\0');
                summary.model = session.model();
                if (exit == CliExit::Done)
                    exit = job->run();
                session.logOff();
            }
        }
        progress.finish();
    }

    summary.exit = exitStatus(exit);
    summary.errors = prompt.errors();
    summary.warnings = prompt.warnings();
    summary.durationS = double(waiter_.nowNs() - startedNs) / 1e9;
    if (options.json)
        console_.out(summary.toJson());
    return summary.exit;
}
