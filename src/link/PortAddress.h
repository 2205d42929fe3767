#pragma once

#include <QString>
#include <optional>

// What a port names, read from the text a user gives for it:
//
//   COM1 ... COM4           one of the program's four ports (any case)
//   /dev/ttyUSB0            a serial device of this machine (any other text)
//   tcp://HOST:PORT         a serial server in raw mode: bytes pass unchanged
//   rfc2217://HOST:PORT     a serial server speaking Telnet COM Port Control
//
// HOST is a name, an IPv4 address or an IPv6 address in brackets
// (tcp://[fe80::1]:4001); PORT is 1 to 65535. A malformed text gets a
// message that says what is wrong with it and how to write it.
class PortAddress
{
public:
    enum class Kind { PortName, Device, Tcp, Rfc2217 };

    static std::optional<PortAddress> parse(const QString &text, QString *error = nullptr);

    Kind kind() const { return kind_; }
    bool isNetwork() const { return kind_ == Kind::Tcp || kind_ == Kind::Rfc2217; }
    // 1 to 4 for COM1 to COM4, else 0.
    int portNumber() const { return portNumber_; }
    // The device file of a Device.
    QString devicePath() const { return kind_ == Kind::Device ? text_ : QString(); }
    // A network address's host, without brackets, and its TCP port.
    QString host() const { return host_; }
    quint16 tcpPort() const { return tcpPort_; }
    // "host:4001", "[::1]:4001".
    QString hostAndPort() const;
    // The address written the way parse() reads it back: "COM2",
    // "/dev/ttyUSB0", "tcp://host:4001", "rfc2217://[::1]:4001".
    QString toString() const;

    bool operator==(const PortAddress &other) const = default;

private:
    Kind kind_ = Kind::Device;
    QString text_;
    QString host_;
    quint16 tcpPort_ = 0;
    int portNumber_ = 0;
};
