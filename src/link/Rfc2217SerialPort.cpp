#include "link/Rfc2217SerialPort.h"

#include <utility>

Rfc2217SerialPort::Rfc2217SerialPort(PortAddress address, QObject *parent)
    : TcpSerialPort(std::move(address), parent)
{
}

Rfc2217SerialPort::~Rfc2217SerialPort() = default;

void Rfc2217SerialPort::beginConnection()
{
    session_.reset();
    early_.clear();
}

bool Rfc2217SerialPort::startSession(QString *error)
{
    Rfc2217Session::LineSettings line;
    line.baud = kBaudRate;
    line.dataBits = 8;
    line.oneStopBit = oneStopBit();
    line.dtr = dtr();
    line.rts = rts();
    session_ = std::make_unique<Rfc2217Session>(line);
    sendRaw(session_->start());
    if (!early_.isEmpty())
        decode(std::exchange(early_, {}));
    if (waitUntil([this] { return session_->ready() || !session_->failure().isEmpty(); })
        && session_->failure().isEmpty())
        return true;
    if (!session_->failure().isEmpty())
        *error = session_->failure() + QStringLiteral("\r\nSet the server's port to Telnet with RFC 2217, or use "
                                                      "tcp:// for a server in raw mode.");
    else
        *error = QStringLiteral("the server did not confirm the serial settings\r\nIs it a Telnet server with "
                                "RFC 2217? For a server in raw mode use tcp:// instead.");
    return false;
}

QByteArray Rfc2217SerialPort::decode(const QByteArray &bytes)
{
    if (!session_) {
        early_ += bytes; // the server spoke first; its words wait for the session
        return {};
    }
    QByteArray reply;
    const QByteArray data = session_->receive(bytes, &reply);
    sendRaw(reply);
    return data;
}

QByteArray Rfc2217SerialPort::encode(const QByteArray &data)
{
    return session_ ? session_->encode(data) : data;
}

void Rfc2217SerialPort::lineSettingsChanged()
{
    if (!session_)
        return;
    sendRaw(session_->setDtr(dtr()) + session_->setRts(rts()) + session_->setOneStopBit(oneStopBit()));
}
