#include "link/LocalSerialPort.h"

#include "link/UserPrompt.h"

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace {
// The highest read threshold a terminal takes: about 44 ms of the line at
// 57600 baud.
constexpr int kHoldBytes = 255;
} // namespace

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
                lines << QStringLiteral("Your user may not use serial ports. Add it to the group "
                                        "dialout (sudo usermod -aG dialout $USER), then log out and in again.");
            else if (port_.error() == QSerialPort::DeviceNotFoundError)
                lines << QStringLiteral("No such device. Choose another port in Connect, Port, "
                                        "or point this one at your adapter (see README: serial device).");
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
    return port_.bytesAvailable();
}

QByteArray LocalSerialPort::read(qint64 maxBytes)
{
    return port_.read(maxBytes);
}

void LocalSerialPort::onError(QSerialPort::SerialPortError error)
{
    if (!port_.isOpen())
        return;
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
        const QString reason = QStringLiteral("%1 (%2): %3").arg(name_, deviceName(), port_.errorString());
        stopStreaming();
        port_.close();
        port_.clearError();
        emit connectionLost(reason);
    }
}

bool LocalSerialPort::setReadThreshold(int bytes)
{
#ifdef Q_OS_UNIX
    termios settings{};
    if (::tcgetattr(int(port_.handle()), &settings) != 0)
        return false;
    if (!streaming_)
        usualThreshold_ = settings.c_cc[VMIN];
    // Only without an inter-byte timer does the threshold decide when the
    // device counts as readable.
    if (settings.c_cc[VTIME] != 0)
        return false;
    settings.c_cc[VMIN] = cc_t(bytes);
    return ::tcsetattr(int(port_.handle()), TCSANOW, &settings) == 0;
#else
    Q_UNUSED(bytes);
    return false;
#endif
}

void LocalSerialPort::setStreaming(bool on)
{
    if (on == streaming_ || !port_.isOpen())
        return;
    if (on) {
        if (!setReadThreshold(kHoldBytes))
            return;
        streaming_ = true;
        collectTimer_.start();
        return;
    }
    stopStreaming();
    collect();
}

void LocalSerialPort::stopStreaming()
{
    if (!streaming_)
        return;
    collectTimer_.stop();
    if (port_.isOpen())
        setReadThreshold(usualThreshold_);
    streaming_ = false;
}

void LocalSerialPort::collect()
{
#ifdef Q_OS_UNIX
    if (!port_.isOpen())
        return;
    int queued = 0;
    if (::ioctl(int(port_.handle()), FIONREAD, &queued) != 0 || queued <= 0)
        return;
    // Below the threshold the device does not count as readable: lower it
    // for this one read.
    const bool held = streaming_;
    if (held)
        setReadThreshold(usualThreshold_);
    port_.waitForReadyRead(0); // announces what it read with readyRead
    if (port_.isOpen()) {
        if (port_.error() == QSerialPort::TimeoutError)
            port_.clearError();
        if (held && streaming_)
            setReadThreshold(kHoldBytes);
    }
#endif
}
