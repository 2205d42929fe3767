#pragma once

#include "PanelEngine.h"
#include "PanelTransmitter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

// The virtual panel on a pseudo-terminal: the program opens the slave device
// (/dev/pts/N, or a symbolic link to it) as its serial port, the server reads
// commands from the master side and writes the engine's replies back at the
// line rate.
//
// Everything runs from the event loop: a socket notifier for what the
// program writes, a precise single-shot timer that releases the bytes whose
// time on the line has come, a write notifier while the terminal's buffer is
// full. While no program has the device open the master reports a hang-up
// that never clears; the server then leaves the read notifier off and looks
// every 25 ms whether the device was opened again, so it never spins. When
// the program closes the device the session ends (as when a cable is pulled),
// queued output is dropped and nothing stale waits for the next opening.
class PtyPanelServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int kAttachPollMs = 25;

    explicit PtyPanelServer(PanelEngine &engine, QObject *parent = nullptr);
    ~PtyPanelServer() override;

    // Creates the pseudo-terminal (raw: no echo, CR not translated).
    bool open(QString *error);
    // Closes it: a program that has the device open sees the line drop.
    void close();
    bool isOpen() const { return master_ >= 0; }
    // The slave device, e.g. /dev/pts/5.
    QString devicePath() const { return devicePath_; }

    // A symbolic link to the device at path, replacing an older link there
    // (never a file or folder). Removed again by close().
    bool createLink(const QString &path, QString *error);
    QString linkPath() const { return linkPath_; }

    // Pacing at the line rate (on by default: 57600 baud, 10 bits a byte).
    void setPacing(bool on);
    bool pacing() const { return pacing_; }
    void setBaudRate(int baud);
    int baudRate() const { return baud_; }

    // Whether a program has the device open now.
    bool programAttached() const { return attached_; }

    // A tag held to the reader, now or after delayMs; the tag line goes out
    // of the panel's own accord.
    bool presentTag(const QByteArray &code, int delayMs = 0, bool corruptCheck = false);
    void sendJunkLine();

    PanelEngine &engine() { return engine_; }

signals:
    // Every command received, as it may be shown (PIN hidden).
    void commandReceived(const QString &shown);
    // The panel's memory or clock changed.
    void memoryChanged();
    void programAttachedChanged(bool attached);

private:
    void onReadable();
    void onWritable();
    void onAttachPoll();
    void transmit();
    void schedule();
    void send(const QList<PanelOutput> &pieces);
    void writeOut(const QByteArray &bytes);
    void detach();
    void discardStaleOutput();
    void syncClock();
    void noteChanges();
    qint64 nowNs() const { return monotonic_.nsecsElapsed(); }

    PanelEngine &engine_;
    PanelTransmitter transmitter_;
    int master_ = -1;
    QString devicePath_;
    QString linkPath_;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QTimer transmitTimer_;
    QTimer attachPoll_;
    QElapsedTimer monotonic_;
    qint64 clockSyncedMs_ = 0;
    quint64 revision_ = 0;
    QByteArray pendingWrite_;
    bool attached_ = false;
    bool pacing_ = true;
    int baud_ = PanelTransmitter::kDefaultBaud;
};
