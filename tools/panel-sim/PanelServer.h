#pragma once

#include "PanelEngine.h"
#include "PanelTransmitter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The virtual panel on a line: what the program sends goes to the engine,
// and the engine's replies go back at the line rate, released by a precise
// single-shot timer on the wall clock. The line itself (a pseudo-terminal,
// a TCP connection) belongs to the subclass, which hands over what arrives
// (received), carries out what is due (writeOut) and says when a program is
// on the line and when it went away.
class PanelServer : public QObject
{
    Q_OBJECT
public:
    explicit PanelServer(PanelEngine &engine, QObject *parent = nullptr);
    ~PanelServer() override;

    virtual bool open(QString *error) = 0;
    // The program on the line sees it drop.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // What the program is to open: /dev/pts/5, or tcp://127.0.0.1:4001.
    virtual QString devicePath() const = 0;

    // Pacing at the line rate (on by default: 57600 baud, 10 bits a byte).
    void setPacing(bool on);
    bool pacing() const { return pacing_; }
    void setBaudRate(int baud);
    int baudRate() const { return baud_; }

    // Whether a program is on the line now.
    bool programAttached() const { return attached_; }

    // A tag held to the reader, now or after delayMs; the tag line goes out
    // of the panel's own accord.
    bool presentTag(const QByteArray &code, int delayMs = 0, bool corruptCheck = false);
    void sendJunkLine();

    PanelEngine &engine() { return engine_; }

    // What the line carried in the session of the program now on it (both
    // start at 0 when a program comes on the line): the bytes taken in from
    // it, and the bytes handed to the line for it.
    qint64 bytesReceived() const { return received_; }
    qint64 bytesSent() const { return sent_; }
    // Nothing is due: no reply or tag line waits for its time on the line,
    // no tag is about to be held to the reader and the line holds nothing
    // back. Until the program writes again, the panel will send nothing.
    bool idle() const { return transmitter_.idle() && tagsDue_ == 0 && lineIdle(); }
    // How many times a program came on the line.
    int sessions() const { return sessions_; }
    // Looks at the line now, as its notifiers would when the event loop
    // next runs: takes in what the program wrote, notices a program that
    // came or went. Lines that cannot be looked at this way do nothing.
    virtual void checkLine() {}

signals:
    // Every command received, as it may be shown (PIN hidden).
    void commandReceived(const QString &shown);
    // The panel's memory or clock changed.
    void memoryChanged();
    void programAttachedChanged(bool attached);

protected:
    // Bytes from the program.
    void received(const QByteArray &bytes);
    // Bytes whose time has come, for the line.
    virtual void writeOut(const QByteArray &bytes) = 0;
    // Nothing handed to writeOut waits to go out.
    virtual bool lineIdle() const = 0;
    // A program came on the line, or went away.
    void setAttached(bool attached);
    // The session ends (the program went away, the line closed): output
    // still queued is dropped and the engine forgets the session.
    void endSession();

private:
    void transmit();
    void schedule();
    void send(const QList<PanelOutput> &pieces);
    void syncClock();
    void noteChanges();
    qint64 nowNs() const { return monotonic_.nsecsElapsed(); }

    PanelEngine &engine_;
    PanelTransmitter transmitter_;
    QTimer transmitTimer_;
    QElapsedTimer monotonic_;
    qint64 clockSyncedMs_ = 0;
    quint64 revision_ = 0;
    qint64 received_ = 0;
    qint64 sent_ = 0;
    int tagsDue_ = 0;
    int sessions_ = 0;
    bool attached_ = false;
    bool pacing_ = true;
    int baud_ = PanelTransmitter::kDefaultBaud;
};
