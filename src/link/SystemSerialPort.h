#pragma once

#include "link/DeviceMap.h"
#include "link/SerialPort.h"

// The program's serial port ComPort1. Its port name (COM1 to COM4) names a
// device through the device map, and the device decides at every open what
// the line is: a serial device of this machine (LocalSerialPort), a serial
// server in raw mode (tcp://HOST:PORT, TcpSerialPort) or a Telnet COM Port
// Control server (rfc2217://HOST:PORT, Rfc2217SerialPort). Whichever it is,
// the rest of the program sees one port: its bytes, its readyRead and its
// connectionLost.
class SystemSerialPort : public SerialPort
{
    Q_OBJECT
public:
    explicit SystemSerialPort(const DeviceMap &devices, QObject *parent = nullptr);
    ~SystemSerialPort() override;

    void setPortName(const QString &name) override;
    QString portName() const override { return name_; }
    // The device text behind the port name ("/dev/ttyUSB1", "tcp://host:4001").
    QString deviceName() const;

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

    // How long an open waits for a serial server (TcpSerialPort's 5 s by default).
    void setConnectTimeoutMs(int ms) { connectTimeoutMs_ = ms; }

    // The line of the last open (null before the first).
    SerialPort *line() const { return line_; }

private:
    SerialPort *makeLine(const QString &device, QString *error);

    const DeviceMap &devices_;
    SerialPort *line_ = nullptr;
    QString lineDevice_; // the device text line_ was made for
    QString name_ = QStringLiteral("COM2");
    int connectTimeoutMs_;
    bool dtr_ = true;
    bool rts_ = false;     // the port object starts with RTS off; every open enables it
    bool oneStop_ = false; // and with two stop bits; every open sets one
};
