#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// ser2net (Debian's package) in front of a serial device on a free loopback
// port, for as long as this object lives: a Telnet COM Port Control server
// (RFC 2217), or a serial server in raw mode. Tests skip when the program is
// not installed.
class Ser2net
{
public:
    Ser2net() = default;
    ~Ser2net();
    Ser2net(const Ser2net &) = delete;
    Ser2net &operator=(const Ser2net &) = delete;

    // The ser2net program, or empty when it is not installed.
    static QString program();

    enum class Mode { Rfc2217, Raw };

    // Starts serving device and waits (up to 5 s) until the port listens.
    bool start(const QString &device, QString *error, Mode mode = Mode::Rfc2217);
    quint16 port() const { return port_; }
    // rfc2217://127.0.0.1:PORT, or tcp://127.0.0.1:PORT in raw mode.
    QString url() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    Mode mode_ = Mode::Rfc2217;
};
