#include "link/Connection.h"

#include "link/PanelModel.h"

namespace {
const QString kLogOn = QStringLiteral("Log On");
const QString kLogOff = QStringLiteral("Log Off");
} // namespace

Connection::Connection(TransferContext &ctx, QObject *parent)
    : QObject(parent)
    , ctx_(ctx)
    , ledHint_(kLogOn)
    , onLineCaption_(kLogOn)
    , animateHint_(QStringLiteral("OFF Line"))
    , caption_(StartCaption())
{
    Timer1.setInterval(500);
    Timer2.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &Connection::Timer1Timer);
    connect(&Timer2, &QTimer::timeout, this, &Connection::Timer2Timer);
    connect(&ctx_.link, &CommandExchange::connectionLost, this, &Connection::connectionLost);
}

bool Connection::loggedOn() const
{
    return ctx_.link.conn().LoggedOn;
}

void Connection::OnLine1Click()
{
    if (ctx_.link.conn().LoggedOn || ledMarked_) {
        // Online, or clicked inside one of the log-on's waits: the log-on
        // under way finds LogOnCancelled at its next test.
        logOffBranch();
        return;
    }
    ExchangeGuard::Scope scope(ctx_.guard);
    if (!scope)
        return;
    logOnBranch();
}

void Connection::logOffBranch()
{
    CommandExchange &link = ctx_.link;
    link.conn().LogOnCancelled = true;
    setLedImage(kLedLoggingOff);
    link.RxMemo().clear();
    link.clearReply();
    ctx_.feedback.hideTransferWindow();
    link.PumpWait(100);
    GoOffline();
}

void Connection::logOnBranch()
{
    CommandExchange &link = ctx_.link;
    ConnectionState &conn = link.conn();
    ReceiveState &rx = link.rx();

    setLedMarked(true);
    conn.LogOnCancelled = false;
    lineLostDuringLogOn_.reset();
    lastLogOn_ = LogOnResult::Cancelled;

    const std::optional<QByteArray> pin = pin_ ? pin_->askPin() : std::nullopt;
    if (!pin) {
        abandon();
        return;
    }
    conn.LogOnPin = *pin;

    conn.DirectorySynced = false;
    emit logOnStarted();

    ctx_.status.setStatusText(QStringLiteral("Loging on Please Wait"));
    statusSaysConnecting_ = true;
    onLineCaption_ = kLogOff;
    emit indicatorsChanged();
    stopKeepAlive();

    link.LogOff();
    if (!link.TogglePort()) {
        lastLogOn_ = LogOnResult::PortFailed;
        showSerialError();
        abandon();
        return;
    }

    link.RxMemo().clear();
    rx.DataArrived = false;
    link.PumpWait(100);
    link.SendCommand("x\r");

    // Wake-up: a bare CR until anything comes back.
    for (int i = 0; i < 6; ++i) {
        link.SendCommand("\r");
        link.PumpWait(300);
        if (conn.LogOnCancelled || rx.DataArrived)
            break;
    }
    link.PumpWait(200);
    if (endIfLineLost())
        return;
    if (!rx.DataArrived) {
        if (!conn.LogOnCancelled) {
            lastLogOn_ = LogOnResult::NoResponse;
            ctx_.prompt.message(QStringLiteral("No Reponse from Corvalen"), UserPrompt::Kind::Error);
        }
        abandon();
        return;
    }

    // The model is known before the PIN is checked, so a rejected PIN
    // still leaves it shown.
    identifyPanel();

    link.RxMemo().clear();
    link.PumpWait(10);
    link.clearReply();
    // Straight to the port: the PIN never reaches the status bar.
    link.WriteDirect("a" + conn.LogOnPin + "\r");
    link.PumpWait(10);
    for (int i = 0; i < 20; ++i) {
        link.PumpWait(200);
        if (conn.LogOnCancelled || rx.ReplyOk)
            break;
    }
    // A line that went away (or a serial server that answered the wake-up
    // and closed) cancelled the wait: that is no wrong PIN.
    if (endIfLineLost())
        return;
    // An "OK" that slipped in while a log-off click was closing the port
    // does not make a connection.
    if (!rx.ReplyOk || conn.LogOnCancelled) {
        lastLogOn_ = LogOnResult::PinRefused;
        conn.LogOnCancelled = true;
        ctx_.prompt.message(UserPrompt::joinLines({QStringLiteral("Failed to Connect"), QStringLiteral("Check PIN")}),
                            UserPrompt::Kind::Error);
        abandon();
        return;
    }

    lastLogOn_ = LogOnResult::Connected;
    conn.LoggedOn = true;
    setLedImage(kLedOnline);
    ledHint_ = kLogOff;
    ctx_.status.setStatusText(QStringLiteral("Connected"));
    startKeepAlive();
    portMenuEnabled_ = false;
    animateHint_ = QStringLiteral("On Line");
    animateRunning_ = true;
    ledMarked_ = false;
    emit indicatorsChanged();
    EnableOnlineControls();
}

void Connection::identifyPanel()
{
    ConnectionState &conn = ctx_.link.conn();
    conn.DirectoryEnd = 0;
    conn.PanelIdentity = ctx_.link.RxMemo().line(3);
    if (const std::optional<PanelModel> model = IdentifyPanel(conn.PanelIdentity)) {
        conn.DirectoryEnd = model->directoryEnd;
        caption_ = model->caption;
        emit captionChanged(caption_);
    }
    emit panelIdentified(conn.DirectoryEnd);
}

void Connection::showSerialError()
{
    QString text = QStringLiteral("Serial Communication Error");
    // The port explains a missing device or a refused permission on lines
    // of their own after the reason; such an explanation is worth showing.
    const QString why = ctx_.link.lastOpenError();
    if (why.contains(QStringLiteral("\r\n")))
        text = UserPrompt::joinLines({text, why});
    ctx_.prompt.message(text, UserPrompt::Kind::Error);
}

void Connection::abandon()
{
    ctx_.link.conn().LogOnCancelled = true;
    GoOffline();
    ctx_.feedback.hideTransferWindow();
}

bool Connection::endIfLineLost()
{
    if (!lineLostDuringLogOn_)
        return false;
    lastLogOn_ = LogOnResult::LineLost;
    ctx_.prompt.message(QStringLiteral("Connection lost: %1").arg(*lineLostDuringLogOn_), UserPrompt::Kind::Error);
    lineLostDuringLogOn_.reset();
    abandon();
    return true;
}

void Connection::GoOffline()
{
    CommandExchange &link = ctx_.link;
    ConnectionState &conn = link.conn();

    // "Loging on Please Wait" or "Connected" would go on saying so offline.
    const bool staleStatus = conn.LoggedOn || statusSaysConnecting_;
    statusSaysConnecting_ = false;

    link.LogOff();
    onLineCaption_ = kLogOn;
    ledHint_ = kLogOn;
    stopLampBlink();
    conn.LoggedOn = false;
    conn.DirectorySynced = false;
    emit logOnStarted();
    portMenuEnabled_ = true;
    ledMarked_ = false;
    animateHint_ = QStringLiteral("OFF Line");
    stopKeepAlive();
    animateRunning_ = false;
    ledImage_ = kLedOffline;
    emit indicatorsChanged();
    setOnlineControls(false);
    if (staleStatus)
        ctx_.status.setStatusText(QStringLiteral("OFF Line"));
}

void Connection::EnableOnlineControls()
{
    setOnlineControls(true);
}

void Connection::setOnlineControls(bool enabled)
{
    onlineControlsEnabled_ = enabled;
    emit onlineControlsChanged(enabled);
}

void Connection::Timer1Timer()
{
    setLedImage(ledImage_ == kLedOffline ? kLedOnline : kLedOffline);
}

void Connection::Timer2Timer()
{
    ConnectionState &conn = ctx_.link.conn();
    if (!conn.LoggedOn)
        return;
    // An exchange is waiting: it keeps the line busy itself.
    if (ctx_.guard.busy())
        return;
    if (++conn.IdleTicks < kKeepAliveSeconds)
        return;
    conn.IdleTicks = 0;

    ExchangeGuard::Scope scope(ctx_.guard);
    if (ctx_.link.ProbePanel() || ctx_.link.ProbePanel())
        return;
    OnLine1Click(); // takes the log-off branch; no message
}

void Connection::connectionLost(const QString &reason)
{
    if (ledMarked_)
        lineLostDuringLogOn_ = reason; // the log-on says so when its wait ends
    ctx_.link.conn().LogOnCancelled = true;
    ctx_.feedback.hideTransferWindow();
    GoOffline();
    ctx_.status.setStatusText(QStringLiteral("Connection lost: %1").arg(reason));
}

void Connection::startLampBlink()
{
    Timer1.start();
}

void Connection::stopLampBlink()
{
    Timer1.stop();
}

void Connection::startKeepAlive()
{
    Timer2.start();
}

void Connection::stopKeepAlive()
{
    Timer2.stop();
}

void Connection::setLedImage(int image)
{
    // The online image only ever shows a live link: a transfer that ends
    // after a log-off click inside its waits asks for it too late.
    if (image == kLedOnline && !ctx_.link.conn().LoggedOn)
        image = kLedOffline;
    if (ledImage_ == image)
        return;
    ledImage_ = image;
    emit indicatorsChanged();
}

void Connection::setLedMarked(bool marked)
{
    ledMarked_ = marked;
    emit indicatorsChanged();
}
