#pragma once

#include "link/LinkState.h"
#include "link/SerialPort.h"
#include "link/StatusSink.h"
#include "link/UserPrompt.h"
#include "link/Waiter.h"

#include <QObject>
#include <QTimer>

// The command exchange with the panel: the receive handler that gathers what
// arrives, the wait every exchange is built on, the one place commands are
// written, and the generic exchanges (log off, probe, read back, the three
// record writes). Everything runs on the main thread; a sender clears the
// receive state it will watch, writes, then waits in short steps while the
// receive handler runs inside the waits.
//
// Commands are bytes: a lower-case command word, its arguments, one CR. A
// command with a CR, LF or NUL inside, before its final CR, would end early
// on the panel and start another one from the rest: such a command is never
// written. It is refused with a message, and the helpers with a result
// return false without writing anything. NUL filling at the end of a record
// (the scrolling messages) is not inside and goes as it is.
class CommandExchange : public QObject
{
    Q_OBJECT
public:
    CommandExchange(SerialPort &port, Waiter &waiter, StatusSink &status, UserPrompt &prompt,
                    QObject *parent = nullptr);

    LinkState &state() { return state_; }
    const LinkState &state() const { return state_; }
    ReceiveState &rx() { return state_.rx; }
    ConnectionState &conn() { return state_.conn; }
    ReplyMemo &RxMemo() { return state_.RxMemo; }
    SerialPort &port() { return port_; }
    Waiter &waiter() { return waiter_; }
    StatusSink &status() { return status_; }
    UserPrompt &prompt() { return prompt_; }

    // Receive handler: runs for every readyRead of the port.
    void ComPort1RxChar(qint64 count);

    // Waits. What arrives meanwhile is looked at only after the wait, so
    // every wait streams (the port may hold bytes back and hand them over
    // in bigger chunks) and hands over all that arrived before it returns.
    void PumpWait(qint32 ticks);
    void SendCommand(const QByteArray &text);
    // Straight to the port when it is open, not through SendCommand: the text
    // is not shown and IdleTicks is left alone (the PIN goes this way).
    void WriteDirect(const QByteArray &text);
    // True when nothing before the command's final CR is a CR or LF, nor a
    // NUL followed by other bytes. A bare CR is whole.
    static bool isWholeCommand(const QByteArray &command);

    bool TogglePort();
    // Why the last open in TogglePort failed (empty after a good open).
    QString lastOpenError() const { return lastOpenError_; }
    void LogOff();
    bool ProbePanel();
    static QByteArray CutAtNul(const QByteArray &text);
    bool ReadCompare(const QByteArray &record, const QByteArray &expected);
    bool WriteRecord(const QByteArray &address, const QByteArray &data);
    bool WriteBlock(const QByteArray &address, const QByteArray &data);
    bool ProgramRecord(const QByteArray &record, const QByteArray &data);

    // Clears ReplyOk and empties ReceiveBuffer: the first step of most waits.
    void clearReply();
    // Up to `count` waits of `step` ticks, stopping as soon as ReplyOk is set.
    bool waitForReply(qint32 step, int count);

signals:
    // The port closed itself because the other end went away.
    void connectionLost(const QString &reason);

private:
    // Counted, as a handler may run a wait inside another.
    void beginStreaming();
    void endStreaming();

    bool writeToPort(const QByteArray &text);
    // True, after telling the user, when the command is not whole.
    bool refuseBroken(const QByteArray &command);

    SerialPort &port_;
    Waiter &waiter_;
    StatusSink &status_;
    UserPrompt &prompt_;
    LinkState state_;
    QString lastOpenError_;
    int streaming_ = 0; // open streaming reads
    // Streaming ends once control is back in the event loop, not between
    // two waits: turning the port's watch off and on again for every wait
    // of a transfer costs the event loop a wake-up each time.
    QTimer streamingEnd_;
};
