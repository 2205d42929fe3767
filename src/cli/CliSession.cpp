#include "cli/CliSession.h"

#include <QDir>

#include "cli/CliProgress.h"
#include "cli/CliPrompt.h"
#include "directory/DirectoryOnConnection.h"
#include "link/PanelModel.h"

CliSession::CliSession(SerialPort &port, Waiter &waiter, CliPrompt &prompt, CliProgress &progress)
    : prompt_(prompt)
    , progress_(progress)
    , link_(port, waiter, progress, prompt)
    , directory_()
    , ctx_{{link_, guard_, prompt, progress, progress}, directory_}
    , connection_(ctx_)
    , controls_(&directory_)
{
    progress_.attach(link_);
    directory_.DefinePhoneFields();
    directory_.PhoneTable.open();
    connection_.setPinRequest(&pin_);
    followConnection(directory_, connection_);
}

CliSession::~CliSession()
{
    logOff();
}

CliExit CliSession::logOn(const QByteArray &pin)
{
    pin_.pin = pin;
    // The log-on puts the model's last slot into Edit3 once the panel has
    // named itself, before the PIN is checked.
    directory_.setEdit3(QString());
    connection_.OnLine1Click();
    pin_.pin.fill('\0');
    if (connection_.loggedOn())
        return CliExit::Done;
    // Only a panel that answered and then did not take the PIN refused; a
    // line lost while the PIN was waiting is the link's failure.
    if (connection_.lastLogOn() == Connection::LogOnResult::PinRefused)
        return CliExit::Refused;
    return CliExit::LinkFailed;
}

void CliSession::logOff()
{
    if (link_.port().isOpen())
        connection_.GoOffline();
}

bool CliSession::loggedOn() const
{
    return connection_.loggedOn();
}

QString CliSession::model() const
{
    if (directory_.Edit3().isEmpty())
        return {};
    const std::optional<PanelModel> model = PanelModelByDirectoryEnd(link_.state().conn.DirectoryEnd);
    return model ? QString::fromLatin1(model->identity) : QString();
}

QString CliSession::modelProblem() const
{
    if (!model().isEmpty())
        return {};
    constexpr int kShown = 40;
    const QByteArray identity = link_.state().conn.PanelIdentity;
    QString shown;
    for (const char c : identity.left(kShown)) {
        const uchar u = uchar(c);
        shown += u >= 0x20 && u < 0x7F ? QString(QLatin1Char(c)) : QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    if (identity.size() > kShown)
        shown += QStringLiteral("...");
    const QString said = identity.isEmpty()
                             ? QStringLiteral("its answer to the wake-up held no model name (a panel slow to answer "
                                              "names itself too late)")
                             : QStringLiteral("it named itself \"%1\"").arg(shown);
    return QStringLiteral("The Corvalen's model was not recognised: %1.\r\nKnown models: Corvalen_100_Xarn, "
                          "Corvalen_200_Xarn, Corvalen_500_Xarn, Corvalen_1000_Xarn.")
        .arg(said);
}

QString CliSession::recordsFolder() const
{
    return recordsFolder_.isEmpty() ? QDir::currentPath() : recordsFolder_;
}
