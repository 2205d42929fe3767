#pragma once

#include "link/Rfc2217Session.h"
#include "link/TcpSerialPort.h"

#include <memory>

// A serial line behind a Telnet COM Port Control server (RFC 2217,
// rfc2217://HOST:PORT): once connected, the program asks the server for
// 57600 baud, 8 data bits, no parity, one stop bit, no flow control, DTR and
// RTS on, as it does for a local port, and the port opens only when the
// server has confirmed the line. Data travels with Telnet's 0xFF doubled both
// ways, so records filled with 0xFF cross intact.
class Rfc2217SerialPort : public TcpSerialPort
{
    Q_OBJECT
public:
    static constexpr quint32 kBaudRate = 57600;

    explicit Rfc2217SerialPort(PortAddress address, QObject *parent = nullptr);
    ~Rfc2217SerialPort() override;

protected:
    void beginConnection() override;
    bool startSession(QString *error) override;
    QByteArray decode(const QByteArray &bytes) override;
    QByteArray encode(const QByteArray &data) override;
    void lineSettingsChanged() override;

private:
    std::unique_ptr<Rfc2217Session> session_;
    QByteArray early_;
};
