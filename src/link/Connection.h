#pragma once

#include "link/TransferContext.h"
#include "link/PinRequest.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

// The connection with the panel: log-on with the PIN, model detection, the
// keep-alive and every way of going offline. It keeps the state of the
// window's indicators (the lamp `led`, the OnLine1 caption, the animation
// Animate1, the Port1 menu, the caption) and announces changes; the window
// only presents them. The online controls of the pages follow
// onlineControlsChanged().
//
// Lamp images: 20 logging off, 21 online, 22 offline. The lamp is "marked"
// while a log-on is under way; a click then takes the log-off branch, which
// is the only guard against a second log-on besides LogOnCancelled.
class Connection : public QObject
{
    Q_OBJECT
public:
    static constexpr int kLedLoggingOff = 20;
    static constexpr int kLedOnline = 21;
    static constexpr int kLedOffline = 22;
    static constexpr int kKeepAliveSeconds = 55;

    // How the last log-on ended.
    enum class LogOnResult {
        None,       // no log-on yet
        Connected,
        Cancelled,  // Cancel in the dialog, or another exchange was running
        PortFailed, // "Serial Communication Error"
        NoResponse, // nothing came back to the wake-up
        PinRefused, // "Failed to Connect" / "Check PIN"
        LineLost,   // the line went away while the log-on waited
    };

    explicit Connection(TransferContext &ctx, QObject *parent = nullptr);

    // The log-on dialog; without one every log-on ends as a Cancel.
    void setPinRequest(PinRequest *pin) { pin_ = pin; }

    // Handler of the OnLine1 menu item and the led button: logs on, or logs
    // off when online or while a log-on is under way.
    void OnLine1Click();
    void GoOffline();
    void EnableOnlineControls();
    // Lamp blink (Timer1, every 500 ms while a transfer runs).
    void Timer1Timer();
    // Keep-alive (Timer2, every 1000 ms).
    void Timer2Timer();

    bool loggedOn() const;
    LogOnResult lastLogOn() const { return lastLogOn_; }
    int ledImage() const { return ledImage_; }
    bool ledMarked() const { return ledMarked_; }
    QString ledHint() const { return ledHint_; }
    QString onLineCaption() const { return onLineCaption_; }
    bool animateRunning() const { return animateRunning_; }
    QString animateHint() const { return animateHint_; }
    bool portMenuEnabled() const { return portMenuEnabled_; }
    bool onlineControlsEnabled() const { return onlineControlsEnabled_; }
    QString caption() const { return caption_; }

    // The transfers' part of the feedback: Timer1, Timer2 and the lamp.
    void startLampBlink();
    void stopLampBlink();
    void startKeepAlive();
    void stopKeepAlive();
    bool lampBlinking() const { return Timer1.isActive(); }
    bool keepAliveRunning() const { return Timer2.isActive(); }
    // A transfer that ends after the connection has ended asks for the
    // online image; the lamp then stays offline.
    void setLedImage(int image);

signals:
    // Lamp, its hint and mark, OnLine1 caption, animation, Port1 menu.
    void indicatorsChanged();
    void captionChanged(const QString &caption);
    // The controls that talk to the panel (GetData, WriteData, dnLoad,
    // Set_time and those of EnableOnlineControls) are enabled or disabled.
    void onlineControlsChanged(bool enabled);
    // A log-on has its PIN and begins: whatever the program held of the
    // panel's directory no longer counts as the panel's (single writes of
    // changed entries stop until the directory is read or written whole).
    void logOnStarted();
    // The log-on read the panel's identity: its last directory slot, 0 for
    // a model the program does not know.
    void panelIdentified(qint32 directoryEnd);

private:
    void logOffBranch();
    void logOnBranch();
    // Every exit of the log-on other than success.
    void abandon();
    void identifyPanel();
    void connectionLost(const QString &reason);
    // Ends a log-on whose line went away with the reason, not as a wrong
    // PIN or a silent panel; false when the line is still there.
    bool endIfLineLost();
    void showSerialError();
    void setLedMarked(bool marked);
    void setOnlineControls(bool enabled);

    TransferContext &ctx_;
    PinRequest *pin_ = nullptr;
    QTimer Timer1;
    QTimer Timer2;

    int ledImage_ = kLedOffline;
    bool ledMarked_ = false;
    QString ledHint_;
    QString onLineCaption_;
    bool animateRunning_ = false;
    QString animateHint_;
    bool portMenuEnabled_ = true;
    bool onlineControlsEnabled_ = false;
    QString caption_;
    bool statusSaysConnecting_ = false;
    LogOnResult lastLogOn_ = LogOnResult::None;
    std::optional<QString> lineLostDuringLogOn_; // why, while the log-on runs on
};
