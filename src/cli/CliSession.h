#pragma once

#include "directory/DirectoryContext.h"
#include "cli/CliExit.h"
#include "directory/PhoneDirectory.h"
#include "link/CommandExchange.h"
#include "link/Connection.h"
#include "link/ExchangeGuard.h"
#include "link/PinRequest.h"
#include "parameters/ParameterControls.h"

#include <QByteArray>
#include <QString>

class CliProgress;
class CliPrompt;

// One connection to the panel, as the window holds it: the command
// exchange, the exchange guard, the phone directory and the parameter page's
// controls, and the log-on of the window (Connection) with the PIN given
// instead of asked.
class CliSession
{
public:
    CliSession(SerialPort &port, Waiter &waiter, CliPrompt &prompt, CliProgress &progress);
    ~CliSession();

    // The window's log-on. Done when logged on; Refused when the panel
    // answered but did not take the PIN; LinkFailed otherwise (the line
    // lost during the PIN's wait included).
    CliExit logOn(const QByteArray &pin);
    // Logs off ("x") and closes the port, if open.
    void logOff();

    bool loggedOn() const;
    // The model's identity ("Corvalen_1000_Xarn"), empty when the panel was
    // not recognised or not reached.
    QString model() const;
    // After a log-on that did not recognise the model: says so, with the
    // identity the panel sent. Empty when the model was recognised.
    QString modelProblem() const;

    DirectoryContext &ctx() { return ctx_; }
    CommandExchange &link() { return link_; }
    PhoneDirectory &directory() { return directory_; }
    ParameterControls &controls() { return controls_; }
    CliPrompt &prompt() { return prompt_; }
    CliProgress &progress() { return progress_; }

    // The folder whose history and event archive this run reads and adds
    // to: the site's folder inside a site, the working folder otherwise.
    QString recordsFolder() const;
    void setRecordsFolder(const QString &folder) { recordsFolder_ = folder; }

private:
    QString recordsFolder_;
    class GivenPin : public PinRequest
    {
    public:
        std::optional<QByteArray> askPin() override { return pin; }
        QByteArray pin;
    };

    CliPrompt &prompt_;
    CliProgress &progress_;
    CommandExchange link_;
    ExchangeGuard guard_;
    PhoneDirectory directory_;
    DirectoryContext ctx_;
    Connection connection_;
    ParameterControls controls_;
    GivenPin pin_;
};
