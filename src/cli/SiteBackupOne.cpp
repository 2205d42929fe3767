#include "cli/SiteBackupOne.h"

#include "cli/CliConsole.h"
#include "cli/CliExit.h"
#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "cli/CliSession.h"
#include "cli/CliWorkplace.h"
#include "cli/HistoryHook.h"
#include "directory/DirectoryTransfer.h"
#include "events/EventLog.h"
#include "events/EventTransfer.h"
#include "link/DeviceMap.h"
#include "link/PortAddress.h"
#include "link/SerialPort.h"
#include "parameters/ParameterReads.h"
#include "rfid/RfidDownload.h"
#include "sites/UnattendedPin.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// An unattended run does not wait a minute for a keyring's unlock prompt
// that no one will answer.
constexpr int kKeyringWaitMs = 10000;

struct Outcome
{
    CliExit exit = CliExit::Done;
    QString message;
    QString model;
    QStringList changed;
    int newEvents = 0;
    bool reached = false;
};

// The message of a failure: the last error the session showed, else the
// exit's own words.
QString failure(const CliPrompt &prompt, CliExit exit, const QString &what)
{
    QString message = prompt.errors().isEmpty() ? QString() : prompt.errors().constLast();
    message.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    if (message.isEmpty())
        message = exit == CliExit::LinkFailed ? QStringLiteral("The Corvalen did not answer")
                                              : QStringLiteral("Refused");
    return what.isEmpty() ? message : QStringLiteral("%1: %2").arg(what, message);
}

// The four reads, in turn; the first that fails ends the backup.
void readAll(CliSession &session, CliPrompt &prompt, Outcome &out)
{
    if (DirectoryTransfer(session.ctx()).GetDataClick() != DirectoryTransfer::Outcome::Completed) {
        out.exit = CliExit::LinkFailed;
        out.message = failure(prompt, out.exit, QStringLiteral("Reading the directory"));
        return;
    }
    if (HistoryHook::directoryRead(session))
        out.changed << QStringLiteral("directory");
    if (!ParameterReads::readAll(session.ctx(), session.controls())) {
        out.exit = CliExit::LinkFailed;
        out.message = failure(prompt, out.exit, QStringLiteral("Reading the parameters"));
        return;
    }
    if (HistoryHook::parametersRead(session))
        out.changed << QStringLiteral("parameters");
    if (RfidDownload(session.ctx()).download_idClick() != RfidDownload::Outcome::Completed) {
        out.exit = CliExit::LinkFailed;
        out.message = failure(prompt, out.exit, QStringLiteral("Reading the RFID store"));
        return;
    }
    if (HistoryHook::tagsRead(session))
        out.changed << QStringLiteral("tags");
    EventLog log;
    const EventTransfer::Outcome events = EventTransfer(session.ctx(), log).dnLoadClick();
    if (events == EventTransfer::Outcome::Completed || events == EventTransfer::Outcome::BadEventLine) {
        out.newEvents = qMax(0, HistoryHook::events(session, log));
        if (out.newEvents > 0)
            out.changed << QStringLiteral("events");
    }
    if (events != EventTransfer::Outcome::Completed) {
        out.exit = events == EventTransfer::Outcome::BadEventLine ? CliExit::Refused : CliExit::LinkFailed;
        out.message = failure(prompt, out.exit, QStringLiteral("Reading the event log"));
        return;
    }
    out.message = out.changed.isEmpty() ? QStringLiteral("no changes")
                                        : QStringLiteral("changed: ") + out.changed.join(QStringLiteral(", "));
}

} // namespace

SiteBackupOne::SiteBackupOne(SerialPort &port, DeviceMap &devices, Waiter &waiter, CliConsole &console)
    : port_(port)
    , devices_(devices)
    , waiter_(waiter)
    , console_(console)
{
}

int SiteBackupOne::run(const QString &siteName, const QString &bookFile)
{
    Outcome out;
    CliPrompt prompt(console_, true);
    const CliWorkplace::Opened opened = CliWorkplace::open(siteName, QString(), bookFile);
    const std::optional<PortAddress> address =
        opened.place ? PortAddress::parse(opened.place->port()) : std::nullopt;
    if (!opened.place) {
        out.exit = CliExit::Refused;
        out.message = opened.error;
    } else if (!address) {
        out.exit = CliExit::Refused;
        out.message = QStringLiteral("No address the program can use: %1").arg(opened.place->port());
    } else {
        const CliWorkplace &place = *opened.place;
        if (address->kind() == PortAddress::Kind::PortName) {
            port_.setPortName(QStringLiteral("COM%1").arg(address->portNumber()));
        } else {
            devices_.setDevice(2, address->toString());
            port_.setPortName(QStringLiteral("COM2"));
        }
        PinVault vault(kKeyringWaitMs);
        PinVault::Result pin = UnattendedPin::read(place.site(), vault);
        if (!pin.ok) {
            out.exit = CliExit::Refused;
            out.message = pin.message;
        } else {
            CliProgress progress(console_, CliProgress::Mode::Quiet);
            CliSession session(port_, waiter_, prompt, progress);
            session.setRecordsFolder(place.folder());
            out.exit = session.logOn(pin.pin);
            pin.pin.fill('\0');
            out.model = session.model();
            out.reached = session.loggedOn() || out.exit == CliExit::Refused;
            if (session.loggedOn()) {
                QString error;
                if (!place.recordContact(session.model(), QDateTime::currentDateTimeUtc(), &error))
                    prompt.warning(error);
            }
            if (out.exit == CliExit::Done)
                readAll(session, prompt, out);
            else
                out.message = failure(prompt, out.exit, QString());
            session.logOff();
        }
    }
    QJsonArray changed;
    for (const QString &kind : std::as_const(out.changed))
        changed.append(kind);
    QJsonObject o;
    o.insert(QStringLiteral("site"), siteName);
    o.insert(QStringLiteral("result"), out.exit == CliExit::Done ? QStringLiteral("ok") : QStringLiteral("failed"));
    o.insert(QStringLiteral("exit"), exitStatus(out.exit));
    o.insert(QStringLiteral("message"), out.message);
    o.insert(QStringLiteral("model"), out.model);
    o.insert(QStringLiteral("changed"), changed);
    o.insert(QStringLiteral("new_events"), out.newEvents);
    o.insert(QStringLiteral("reached"), out.reached);
    console_.out(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
    return exitStatus(out.exit);
}
