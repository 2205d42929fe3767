#pragma once

#include "PanelServer.h"

#include <QTimer>

class QSocketNotifier;

// The virtual panel on a pseudo-terminal: the program opens the slave device
// (/dev/pts/N, or a symbolic link to it) as its serial port, the server reads
// commands from the master side and writes the engine's replies back at the
// line rate.
//
// Everything runs from the event loop: a socket notifier for what the
// program writes, the base's timer that releases the bytes whose time on the
// line has come, a write notifier while the terminal's buffer is full. While
// no program has the device open the master reports a hang-up that never
// clears; the server then leaves the read notifier off and looks every 25 ms
// whether the device was opened again, so it never spins. When
// the program closes the device the session ends (as when a cable is pulled),
// queued output is dropped and nothing stale waits for the next opening.
class PtyPanelServer : public PanelServer
{
    Q_OBJECT
public:
    static constexpr int kAttachPollMs = 25;

    explicit PtyPanelServer(PanelEngine &engine, QObject *parent = nullptr);
    ~PtyPanelServer() override;

    // Creates the pseudo-terminal (raw: no echo, CR not translated).
    bool open(QString *error) override;
    // Closes it: a program that has the device open sees the line drop.
    void close() override;
    bool isOpen() const override { return master_ >= 0; }
    // The slave device, e.g. /dev/pts/5.
    QString devicePath() const override { return devicePath_; }

    // A symbolic link to the device at path, replacing an older link there
    // (never a file or folder). Removed again by close().
    bool createLink(const QString &path, QString *error);
    QString linkPath() const { return linkPath_; }

    void checkLine() override;

protected:
    void writeOut(const QByteArray &bytes) override;
    bool lineIdle() const override { return pendingWrite_.isEmpty(); }

private:
    void onReadable();
    void onWritable();
    void onAttachPoll();
    void detach();
    void discardStaleOutput();

    int master_ = -1;
    QString devicePath_;
    QString linkPath_;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QTimer attachPoll_;
    QByteArray pendingWrite_;
};
