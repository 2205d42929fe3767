#include "link/LocalSerialPort.h"

#include "link/DeviceAccess.h"
#include "link/UserPrompt.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#endif

LocalSerialPort::LocalSerialPort(QString device, QObject *parent)
    : SerialPort(parent)
    , device_(std::move(device))
{
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &LocalSerialPort::onError);
    collectTimer_.setInterval(kStreamingHoldMs);
    connect(&collectTimer_, &QTimer::timeout, this, &LocalSerialPort::collect);
}

LocalSerialPort::~LocalSerialPort()
{
    port_.disconnect(this);
    if (port_.isOpen())
        port_.close();
}

void LocalSerialPort::setDtrEnabled(bool on)
{
    dtr_ = on;
    applyControlLines();
}

void LocalSerialPort::setRtsEnabled(bool on)
{
    rts_ = on;
    applyControlLines();
}

void LocalSerialPort::setOneStopBit(bool one)
{
    oneStop_ = one;
    if (port_.isOpen())
        port_.setStopBits(oneStop_ ? QSerialPort::OneStop : QSerialPort::TwoStop);
}

void LocalSerialPort::applyControlLines()
{
    if (!port_.isOpen())
        return;
    // A pseudo-terminal has no modem lines; the failure is expected there.
    port_.setDataTerminalReady(dtr_);
    port_.setRequestToSend(rts_);
    if (port_.error() == QSerialPort::UnsupportedOperationError)
        port_.clearError();
}

bool LocalSerialPort::open(QString *error)
{
    if (port_.isOpen())
        return true;
    const QString &device = device_;
    port_.setPortName(device);
    port_.setBaudRate(QSerialPort::Baud57600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(oneStop_ ? QSerialPort::OneStop : QSerialPort::TwoStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        if (error) {
            QStringList lines{QStringLiteral("%1 (%2): %3").arg(name_, device, port_.errorString())};
            if (port_.error() == QSerialPort::PermissionError)
                lines << DeviceAccess().openRefusal(device);
            else if (port_.error() == QSerialPort::DeviceNotFoundError)
                lines << QStringLiteral("No such device. ") + missingDeviceAdvice_;
            *error = UserPrompt::joinLines(lines);
        }
        port_.clearError();
        return false;
    }
    applyControlLines();
    port_.clearError();
    return true;
}

void LocalSerialPort::close()
{
    stopStreaming();
    held_.clear();
    if (!port_.isOpen())
        return;
    if (port_.bytesToWrite() > 0)
        port_.waitForBytesWritten(1000 + 100 * int(port_.bytesToWrite()));
    port_.close();
    port_.clearError();
}

bool LocalSerialPort::isOpen() const
{
    return port_.isOpen();
}

bool LocalSerialPort::write(const QByteArray &bytes, QString *error)
{
    if (!port_.isOpen()) {
        if (error)
            *error = QStringLiteral("The port %1 is not open.").arg(name_);
        return false;
    }
    const qint64 written = port_.write(bytes);
    if (written != bytes.size()) {
        if (error)
            *error = QStringLiteral("Could not write to %1: %2").arg(deviceName(), port_.errorString());
        return false;
    }
    // Hand the bytes to the driver now; what the driver does not take at
    // once goes out from the event loop, still in order.
    port_.flush();
    return true;
}

qint64 LocalSerialPort::bytesAvailable() const
{
    return port_.bytesAvailable() + held_.size();
}

QByteArray LocalSerialPort::read(qint64 maxBytes)
{
    // What the port object read before streaming began comes first.
    QByteArray bytes = port_.read(std::min(maxBytes, port_.bytesAvailable()));
    if (streaming_) {
        // Reading from the port object may have turned its watch on again.
        if (QSocketNotifier *watch = readWatch())
            watch->setEnabled(false);
    }
    const qint64 more = std::min<qint64>(maxBytes - bytes.size(), held_.size());
    if (more > 0) {
        bytes += held_.left(more);
        held_.remove(0, more);
    }
    return bytes;
}

void LocalSerialPort::onError(QSerialPort::SerialPortError error)
{
    if (!port_.isOpen())
        return;
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
        lose(port_.errorString());
}

void LocalSerialPort::lose(const QString &why)
{
    const QString reason = QStringLiteral("%1 (%2): %3").arg(name_, deviceName(), why);
    stopStreaming();
    held_.clear();
    port_.close();
    port_.clearError();
    emit connectionLost(reason);
}

QSocketNotifier *LocalSerialPort::readWatch() const
{
    const auto watches = port_.findChildren<QSocketNotifier *>(Qt::FindDirectChildrenOnly);
    for (QSocketNotifier *watch : watches)
        if (watch->type() == QSocketNotifier::Read)
            return watch;
    return nullptr;
}

void LocalSerialPort::setStreaming(bool on)
{
    if (on == streaming_ || !port_.isOpen())
        return;
    if (on) {
#ifdef Q_OS_UNIX
        QSocketNotifier *watch = readWatch();
        if (!watch)
            return;
        watch->setEnabled(false);
        streaming_ = true;
        collectTimer_.start();
#endif
        return;
    }
    collect();
    stopStreaming();
}

void LocalSerialPort::stopStreaming()
{
    if (!streaming_)
        return;
    collectTimer_.stop();
    streaming_ = false;
    if (port_.isOpen()) {
        if (QSocketNotifier *watch = readWatch())
            watch->setEnabled(true);
    }
}

void LocalSerialPort::collect()
{
#ifdef Q_OS_UNIX
    if (!streaming_ || !port_.isOpen())
        return;
    collectTimer_.start(); // the next read by the timer is a full hold away
    const int fd = int(port_.handle());
    const qsizetype before = held_.size();
    char chunk[4096];
    QString lost;
    // At most 256 KiB at a time, so a flooding device cannot hold the program here.
    for (int chunks = 0; chunks < 64; ++chunks) {
        // The device is read without a minimum count, so a read of nothing
        // means "nothing queued" there; only a device that says it is
        // readable and then gives nothing has gone away.
        pollfd ready{fd, POLLIN, 0};
        const int seen = ::poll(&ready, 1, 0);
        if (seen <= 0)
            break;
        if (ready.revents & (POLLERR | POLLNVAL)) {
            lost = QStringLiteral("The device reported an error.");
            break;
        }
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0) {
            held_.append(chunk, got);
            continue;
        }
        if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            break; // the timer comes back for it
        lost = got == 0 ? QStringLiteral("The device was disconnected.") : QString::fromLocal8Bit(std::strerror(errno));
        break;
    }
    if (held_.size() > before)
        emit readyRead();
    if (!lost.isEmpty() && port_.isOpen())
        lose(lost);
#endif
}
