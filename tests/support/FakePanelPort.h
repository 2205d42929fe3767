#pragma once

#include "link/SerialPort.h"
#include "support/Scheduler.h"

#include <QList>
#include <functional>

// A serial port with a scripted panel behind it. Every command written (the
// bytes up to a CR) goes to the responder, whose answer is delivered after
// the latency, optionally in chunks and paced at a byte time. Tests inspect
// what was written and when.
class FakePanelPort : public SerialPort
{
    Q_OBJECT
public:
    // Gets the command without its CR; returns the bytes to send back.
    using Responder = std::function<QByteArray(const QByteArray &command)>;

    explicit FakePanelPort(Scheduler &scheduler, QObject *parent = nullptr);

    void setResponder(Responder responder) { responder_ = std::move(responder); }
    void setLatencyNs(qint64 ns) { latencyNs_ = ns; }
    // Replies are cut into chunks of this many bytes (0: one chunk).
    void setChunkSize(int bytes) { chunkSize_ = bytes; }
    // Time each byte takes on the line (0: the whole reply at once).
    void setByteTimeNs(qint64 ns) { byteTimeNs_ = ns; }
    void setOpenFails(bool fails, QString error = QStringLiteral("Permission denied"))
    {
        openFails_ = fails;
        openError_ = std::move(error);
    }

    // Sends bytes of the panel's own accord after delayNs.
    void inject(const QByteArray &bytes, qint64 delayNs = 0);
    // The other end goes away: the port closes and announces it.
    void dropLine(const QString &reason = QStringLiteral("Input/output error"));

    // Where replies are scheduled (and what time it is for the panel).
    Scheduler &scheduler() const { return scheduler_; }

    QByteArray written() const { return written_; }
    // Each change of streaming, as a real port would see it.
    void setStreaming(bool on) override
    {
        if (streamingChanges.isEmpty() || streamingChanges.last() != on)
            streamingChanges << on;
    }
    QList<bool> streamingChanges;
    QList<QByteArray> commands() const { return commands_; }
    QList<qint64> commandTimesNs() const { return commandTimes_; }
    void clearLog();
    int openCount() const { return openCount_; }
    int closeCount() const { return closeCount_; }
    bool dtr() const { return dtr_; }
    bool rts() const { return rts_; }
    bool oneStopBit() const { return oneStop_; }

    void setPortName(const QString &name) override { name_ = name.toUpper(); }
    QString portName() const override { return name_; }
    void setDtrEnabled(bool on) override { dtr_ = on; }
    void setRtsEnabled(bool on) override { rts_ = on; }
    void setOneStopBit(bool one) override { oneStop_ = one; }
    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool write(const QByteArray &bytes, QString *error) override;
    qint64 bytesAvailable() const override { return inbox_.size(); }
    QByteArray read(qint64 maxBytes) override;

private:
    void deliver(const QByteArray &bytes, qint64 delayNs);

    Scheduler &scheduler_;
    Responder responder_;
    qint64 latencyNs_ = 1000000;
    int chunkSize_ = 0;
    qint64 byteTimeNs_ = 0;
    bool openFails_ = false;
    QString openError_;
    QString name_ = QStringLiteral("COM2");
    bool dtr_ = true, rts_ = false, oneStop_ = false;
    bool open_ = false;
    quint64 session_ = 0; // replies of an earlier opening are dropped
    int openCount_ = 0, closeCount_ = 0;
    QByteArray pending_;
    QByteArray written_;
    QList<QByteArray> commands_;
    QList<qint64> commandTimes_;
    QByteArray inbox_;
};
