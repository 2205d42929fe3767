#include "cli/CliRunner.h"

#include "cli/CliConsole.h"
#include "cli/CliHelp.h"
#include "cli/CliInterrupt.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliSummary.h"
#include "cli/DiffJob.h"
#include "cli/DirectoryJob.h"
#include "cli/EventJob.h"
#include "cli/EventQueryJob.h"
#include "cli/HistoryJob.h"
#include "cli/IdentifyJob.h"
#include "cli/ParameterJob.h"
#include "cli/PinSource.h"
#include "cli/PrintJob.h"
#include "cli/RestoreJob.h"
#include "cli/RfidJob.h"
#include "cli/CliWorkplace.h"
#include "cli/SitesCommand.h"
#include "cli/SiteBackupOne.h"
#include "cli/SitesBackup.h"
#include "cli/SitesBackupArgs.h"
#include "sites/PinVault.h"
#include "sites/SiteBook.h"
#include "link/PortAddress.h"
#include "link/Waiter.h"

#include <QCoreApplication>
#include <algorithm>
#include <QDateTime>
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
    case Job::History:
        return std::make_unique<HistoryJob>(session, options, summary, console);
    case Job::Diff:
        return std::make_unique<DiffJob>(session, options, summary, console);
    case Job::Restore:
        return std::make_unique<RestoreJob>(session, options, summary, console);
    case Job::EventsQuery:
        return std::make_unique<EventQueryJob>(session, options, summary, console);
    case Job::DirectoryPrint:
    case Job::ParametersPrint:
        return std::make_unique<PrintJob>(session, options, summary, console);
    case Job::Identify:
        break;
    }
    return std::make_unique<IdentifyJob>(session, options, summary, console);
}

// The port name the serial port opens: COM1 to COM4 as they are, anything
// else through the map's COM2, which this run then owns. A device that is
// not there is met with advice in this program's terms.
QString choosePort(const PortAddress &address, DeviceMap &devices, const QString &program)
{
    if (address.kind() == PortAddress::Kind::PortName) {
        const int n = address.portNumber();
        devices.setMissingDeviceAdvice(QStringLiteral("Choose another port with --port, or point COM%1 at your "
                                                      "adapter with --com%1=DEVICE (see %2 --help).")
                                           .arg(n)
                                           .arg(program));
        return QStringLiteral("COM%1").arg(n);
    }
    devices.setDevice(2, address.toString());
    devices.setMissingDeviceAdvice(QStringLiteral("Give your adapter's device with --port "
                                                  "(ls /dev/serial/by-id lists the USB adapters)."));
    return QStringLiteral("COM2");
}

// A model the log-on did not recognise: directory put (whose slots depend
// on the model) stops; identify says it itself; other jobs go on with a
// warning.
CliExit checkModel(const CliSession &session, const CliCommand &command, CliPrompt &prompt)
{
    const QString problem = session.modelProblem();
    if (problem.isEmpty())
        return CliExit::Done;
    switch (command.job) {
    case Job::Identify:
        return CliExit::Done;
    case Job::DirectoryPut:
        prompt.error(problem + QStringLiteral("\r\nNothing was written to the Corvalen."));
        return CliExit::Refused;
    default:
        prompt.warning(problem);
        return CliExit::Done;
    }
}

} // namespace

CliRunner::CliRunner(SerialPort &port, DeviceMap &devices, Waiter &waiter, CliConsole &console,
                     QProcessEnvironment environment)
    : port_(port)
    , devices_(devices)
    , waiter_(waiter)
    , console_(console)
    , environment_(std::move(environment))
    , siteBook_(SiteBook::defaultFileName())
{
}

int CliRunner::usageError(const QString &error, bool json, const QString &program)
{
    console_.err((program + QStringLiteral(": ") + error + QLatin1Char('\n') + CliHelp::tryHelp(program)).toLocal8Bit());
    if (json) {
        CliSummary summary;
        summary.exit = exitStatus(CliExit::Usage);
        summary.errors << error;
        console_.out(summary.toJson());
    }
    return exitStatus(CliExit::Usage);
}

int CliRunner::run(const QStringList &args, const QString &program)
{
    // The site book's own commands touch no panel.
    if (SitesCommand::wants(args)) {
        const SitesBackupArgs backup = SitesBackupArgs::parse(args);
        if (!backup.action.isEmpty())
            return runBackup(backup, program);
        return SitesCommand(console_, environment_, siteBook_).run(args, program);
    }
    return runOnPanel(args, program);
}

int CliRunner::runBackup(const SitesBackupArgs &args, const QString &program)
{
    if (args.help) {
        console_.out(SitesCommand::usage(program).toLocal8Bit());
        return exitStatus(CliExit::Done);
    }
    if (!args.error.isEmpty())
        return usageError(args.error, false, program);
    const QString book = args.book.isEmpty() ? siteBook_ : args.book;
    if (args.action == QLatin1String("backup-one"))
        return SiteBackupOne(port_, devices_, waiter_, console_).run(args.names.constFirst(), book);

    SiteBook siteBook(book);
    QString error;
    if (!siteBook.load(&error)) {
        console_.err((error + QLatin1Char('\n')).toLocal8Bit());
        return exitStatus(CliExit::Refused);
    }
    QList<Site> sites;
    if (args.all)
        sites = siteBook.sites();
    for (const QString &name : args.names) {
        const std::optional<Site> site = siteBook.byName(name);
        if (!site) {
            QString message = QStringLiteral("No site \"%1\" in the site book").arg(name);
            const QStringList close = siteBook.closeNames(name);
            if (!close.isEmpty())
                message += QStringLiteral("; did you mean: %1?").arg(close.join(QStringLiteral(", ")));
            return usageError(message, false, program);
        }
        if (!std::any_of(sites.cbegin(), sites.cend(), [&](const Site &s) { return s.id == site->id; }))
            sites << *site;
    }
    if (sites.isEmpty()) {
        console_.err(QByteArrayLiteral("The site book holds no sites: nothing to back up\n"));
        return exitStatus(CliExit::Done);
    }
    const QString self = selfProgram_.isEmpty() ? QCoreApplication::applicationFilePath() : selfProgram_;
    const int parallel = args.parallel > 0 ? args.parallel : SitesBackup::kDefaultParallel;
    return SitesBackup(console_, self, book).run(sites, parallel, args.json);
}

int CliRunner::runOnPanel(const QStringList &args, const QString &program)
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
    if (!options.error.isEmpty())
        return usageError(options.error, options.json, program);

    const CliWorkplace::Opened opened = CliWorkplace::open(options.site, options.port, siteBook_);
    if (!opened.place) {
        if (opened.exit == CliExit::Usage)
            return usageError(opened.error, options.json, program);
        console_.err((program + QStringLiteral(": ") + opened.error + QLatin1Char('\n')).toLocal8Bit());
        if (options.json) {
            CliSummary summary;
            summary.action = options.command->name();
            summary.exit = exitStatus(opened.exit);
            summary.errors << opened.error;
            console_.out(summary.toJson());
        }
        return exitStatus(opened.exit);
    }
    const CliWorkplace &place = *opened.place;
    const std::optional<PortAddress> address = PortAddress::parse(place.port());
    if (!address)
        return usageError(QStringLiteral("The site \"%1\" has no address the program can use: %2")
                              .arg(place.siteName(), place.port()),
                          options.json, program);

    devices_ = options.devices;
    port_.setPortName(choosePort(*address, devices_, program));

    const CliProgress::Mode mode = options.quiet             ? CliProgress::Mode::Quiet
                                   : console_.errIsTerminal() ? CliProgress::Mode::Bar
                                                             : CliProgress::Mode::Lines;
    CliPrompt prompt(console_, options.quiet);
    CliProgress progress(console_, mode);
    CliSummary summary;
    summary.action = options.command->name();
    summary.site = place.siteName();
    if (options.fileIsStdio())
        summary.file = options.file;
    else if (!options.file.isEmpty())
        summary.file = QFileInfo(options.file).absoluteFilePath();

    CliExit exit = CliExit::Done;
    CliInterrupt interrupt;
    {
        CliSession session(port_, waiter_, prompt, progress);
        session.setRecordsFolder(place.folder());
        // The transfers leave their loop after the record they are writing
        // once the log-on is over; the port stays open for the log-off.
        QObject sessionScope; // the connection ends with the session
        QObject::connect(&interrupt, &CliInterrupt::interrupted, &sessionScope, [&](int signal) {
            console_.err(QStringLiteral("%1: stopping at the next safe point (a second one ends the program at once)\n")
                             .arg(CliInterrupt::signalName(signal))
                             .toLocal8Bit());
            session.link().conn().LoggedOn = false;
        });
        std::unique_ptr<CliJob> job = makeJob(session, options, summary, console_);
        job->setWorkplace(&place);
        PinSource pins(environment_, console_);
        PinVault vault;
        exit = job->prepare(pins);
        if (exit == CliExit::Done && !CliInterrupt::caught() && !job->needsPanel()) {
            exit = job->run();
        } else if (exit == CliExit::Done && !CliInterrupt::caught()) {
            PinSource::Result pin = place.logOnPin(pins, options.pinFile, vault, prompt);
            if (!pin.pin) {
                prompt.error(pin.error);
                exit = CliExit::Usage;
            } else {
                exit = session.logOn(*pin.pin);
                pin.pin->fill('\0');
                summary.model = session.model();
                QString bookError;
                if (session.loggedOn()
                    && !place.recordContact(session.model(), QDateTime::currentDateTimeUtc(), &bookError))
                    prompt.warning(bookError);
                if (exit == CliExit::Done)
                    exit = checkModel(session, *options.command, prompt);
                if (exit == CliExit::Done && !CliInterrupt::caught())
                    exit = job->run();
                session.logOff();
            }
        }
        progress.finish();
    }
    if (const int signal = CliInterrupt::caught()) {
        summary.interrupted = CliInterrupt::signalName(signal);
        QStringList lines{options.command->writesPanel()
                              ? QStringLiteral("Interrupted by %1: the job stopped at a safe point.").arg(summary.interrupted)
                              : QStringLiteral("Interrupted by %1: nothing was saved.").arg(summary.interrupted)};
        if (!summary.backup.isEmpty())
            lines << QStringLiteral("What the Corvalen held before is kept in %1").arg(summary.backup);
        prompt.error(UserPrompt::joinLines(lines));
        exit = CliExit::Refused;
    }

    summary.exit = exitStatus(exit);
    summary.errors = prompt.errors();
    summary.warnings = prompt.warnings();
    summary.durationS = double(waiter_.nowNs() - startedNs) / 1e9;
    // A get to "-" has its data on standard output: the summary goes to
    // standard error, as its last line, so that it never mixes into the data.
    // The commands over the records print their data as JSON themselves.
    if (options.json && options.command->worksOnRecords())
        return summary.exit;
    if (options.json && options.fileIsStdio() && !options.command->writesPanel())
        console_.err(summary.toJson());
    else if (options.json)
        console_.out(summary.toJson());
    return summary.exit;
}
