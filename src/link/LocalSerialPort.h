#pragma once

#include "link/DeviceMap.h"
#include "link/SerialPort.h"

#include <QSerialPort>
#include <QTimer>

// A serial device of this machine, through QSerialPort: 57600 baud, 8 data
// bits, no parity, one stop bit, DTR and RTS asserted, no handshake. The
// device is fixed when the port is made; its port name ("COM2") is what its
// messages call it.
//
// Two facts of QSerialPort on Linux shape it. On a pseudo-terminal the open
// succeeds but setting DTR and RTS fails as an unsupported operation; that is
// not a failed open. When the other end goes away, QSerialPort reports a
// read or resource error over and over while the port stays open; the port
// closes itself on the first such error and announces connectionLost().
//
// While streaming, the device is left out of what the event loop watches and
// is read at collect() (the end of every wait), or kStreamingHoldMs after
// the last read when no wait ended meanwhile. A terminal wakes
// whoever watches it for every few bytes that arrive, even when they ask for
// more before they count it readable, and that costs as much as the rest of
// a download together. A hang-up is then noticed at the next read.
class LocalSerialPort : public SerialPort
{
    Q_OBJECT
public:
    explicit LocalSerialPort(QString device, QObject *parent = nullptr);
    ~LocalSerialPort() override;

    void setPortName(const QString &name) override { name_ = name.toUpper(); }
    QString portName() const override { return name_; }
    QString deviceName() const { return device_; }
    // The last line of the message when the device is not there: how to
    // reach another one (DeviceMap::missingDeviceAdvice).
    void setMissingDeviceAdvice(const QString &advice) { missingDeviceAdvice_ = advice; }

    void setDtrEnabled(bool on) override;
    void setRtsEnabled(bool on) override;
    void setOneStopBit(bool one) override;

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override;

    bool write(const QByteArray &bytes, QString *error) override;
    qint64 bytesAvailable() const override;
    QByteArray read(qint64 maxBytes) override;
    void setStreaming(bool on) override;
    void collect() override;

private:
    void onError(QSerialPort::SerialPortError error);
    void applyControlLines();
    // The port object's watch on the device for reading; nullptr if it has
    // none to be found.
    class QSocketNotifier *readWatch() const;
    void stopStreaming();
    void lose(const QString &why);

    const QString device_;
    QSerialPort port_;
    QString name_ = QStringLiteral("COM2");
    bool dtr_ = true;
    bool rts_ = false;  // the port object starts with RTS off; every open enables it
    bool oneStop_ = false; // and with two stop bits; every open sets one
    bool streaming_ = false;
    QByteArray held_; // read while streaming, not yet handed over; after what port_ holds
    QTimer collectTimer_;
    QString missingDeviceAdvice_ = DeviceMap().missingDeviceAdvice();
};
