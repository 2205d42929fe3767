#include "link/SystemSerialPort.h"

#include "link/LocalSerialPort.h"
#include "link/PortAddress.h"
#include "link/Rfc2217SerialPort.h"
#include "link/TcpSerialPort.h"

SystemSerialPort::SystemSerialPort(const DeviceMap &devices, QObject *parent)
    : SerialPort(parent)
    , devices_(devices)
    , connectTimeoutMs_(TcpSerialPort::kConnectTimeoutMs)
{
}

SystemSerialPort::~SystemSerialPort()
{
    if (line_)
        line_->disconnect(this);
}

QString SystemSerialPort::deviceName() const
{
    return devices_.deviceForPortName(name_);
}

void SystemSerialPort::setPortName(const QString &name)
{
    name_ = name.toUpper();
    if (isOpen()) {
        close();
        QString ignored;
        open(&ignored);
    }
}

void SystemSerialPort::setDtrEnabled(bool on)
{
    dtr_ = on;
    if (line_)
        line_->setDtrEnabled(on);
}

void SystemSerialPort::setRtsEnabled(bool on)
{
    rts_ = on;
    if (line_)
        line_->setRtsEnabled(on);
}

void SystemSerialPort::setOneStopBit(bool one)
{
    oneStop_ = one;
    if (line_)
        line_->setOneStopBit(one);
}

SerialPort *SystemSerialPort::makeLine(const QString &device, QString *error)
{
    QString why;
    const std::optional<PortAddress> address = PortAddress::parse(device, &why);
    if (!address || address->kind() == PortAddress::Kind::PortName) {
        if (!address)
            why = QStringLiteral("%1 (%2): %3").arg(name_, device, why);
        else
            why = QStringLiteral("%1 (%2): a port cannot stand for another port").arg(name_, device);
        if (error) {
            const std::optional<PortAddress> port = PortAddress::parse(name_);
            const int n = port ? port->portNumber() : 0;
            *error = why + (n > 0 ? QStringLiteral("\r\nPoint %1 at a device or a serial server with --com%2= or "
                                                   "CORVALEN_COM%2 (see README: serial device).")
                                        .arg(name_)
                                        .arg(n)
                                  : QString());
        }
        return nullptr;
    }
    switch (address->kind()) {
    case PortAddress::Kind::Tcp: return new TcpSerialPort(*address, this);
    case PortAddress::Kind::Rfc2217: return new Rfc2217SerialPort(*address, this);
    default: {
        auto *local = new LocalSerialPort(address->devicePath(), this);
        local->setMissingDeviceAdvice(devices_.missingDeviceAdvice());
        return local;
    }
    }
}

bool SystemSerialPort::open(QString *error)
{
    if (isOpen())
        return true;
    const QString device = deviceName();
    if (!line_ || device != lineDevice_) {
        SerialPort *line = makeLine(device, error);
        if (!line)
            return false;
        if (line_) {
            line_->disconnect(this);
            line_->deleteLater(); // it may be the sender of the signal being handled
        }
        line_ = line;
        lineDevice_ = device;
        connect(line_, &SerialPort::readyRead, this, &SerialPort::readyRead);
        connect(line_, &SerialPort::connectionLost, this, &SerialPort::connectionLost);
    }
    line_->setPortName(name_);
    if (auto *server = qobject_cast<TcpSerialPort *>(line_))
        server->setConnectTimeoutMs(connectTimeoutMs_);
    line_->setDtrEnabled(dtr_);
    line_->setRtsEnabled(rts_);
    line_->setOneStopBit(oneStop_);
    return line_->open(error);
}

void SystemSerialPort::close()
{
    if (line_)
        line_->close();
}

bool SystemSerialPort::isOpen() const
{
    return line_ && line_->isOpen();
}

bool SystemSerialPort::write(const QByteArray &bytes, QString *error)
{
    if (!isOpen()) {
        if (error)
            *error = QStringLiteral("The port %1 is not open.").arg(name_);
        return false;
    }
    return line_->write(bytes, error);
}

qint64 SystemSerialPort::bytesAvailable() const
{
    return line_ ? line_->bytesAvailable() : 0;
}

QByteArray SystemSerialPort::read(qint64 maxBytes)
{
    return line_ ? line_->read(maxBytes) : QByteArray();
}

void SystemSerialPort::setStreaming(bool on)
{
    if (line_)
        line_->setStreaming(on);
}

void SystemSerialPort::collect()
{
    if (line_)
        line_->collect();
}
