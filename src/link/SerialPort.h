#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The other seam: the serial line to the panel. The program's port
// (SystemSerialPort, ComPort1) reaches a device of this machine or a serial
// server on the network behind it; tests put a fake panel behind the same
// interface. Received bytes are announced with readyRead() on the main
// thread, and only while that thread processes messages.
class SerialPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override = default;

    // "COM1" to "COM4"; taken case-insensitively and kept in upper case.
    // An open port is closed and reopened under the new name.
    virtual void setPortName(const QString &name) = 0;
    virtual QString portName() const = 0;

    // Settings that take effect at the next open (or at once if open).
    virtual void setDtrEnabled(bool on) = 0;
    virtual void setRtsEnabled(bool on) = 0;
    virtual void setOneStopBit(bool one) = 0;

    // Opens the named device with every line setting; on failure the port
    // stays closed and *error says why.
    virtual bool open(QString *error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Hands all bytes to the device, in order. False (with *error) when the
    // device refused them.
    virtual bool write(const QByteArray &bytes, QString *error) = 0;

    virtual qint64 bytesAvailable() const = 0;
    // Never waits; returns at most what is queued.
    virtual QByteArray read(qint64 maxBytes) = 0;

    // A wait is running, and what arrives is looked at only when it ends: the
    // port may hold received bytes back for a while (at most kStreamingHoldMs)
    // and announce them in fewer, bigger chunks, so the program wakes less
    // often. Bytes keep their order; a lost connection is announced within
    // the same hold. Switching it off hands over what is held. Ports without
    // a way to hold bytes back ignore it. A fifth of a second of the line is
    // about 1,150 bytes, well inside what a terminal queues (4 KiB).
    static constexpr int kStreamingHoldMs = 200;
    virtual void setStreaming(bool on) { Q_UNUSED(on); }
    // Announces at once (readyRead, before returning) what the port holds back.
    virtual void collect() {}

signals:
    void readyRead();
    // The other end went away (adapter pulled, pseudo-terminal closed, the
    // server's connection dropped). The port has already closed itself when
    // this is emitted.
    void connectionLost(const QString &reason);
};
