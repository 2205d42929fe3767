#include "link/TcpSerialPort.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

TcpSerialPort::TcpSerialPort(PortAddress address, QObject *parent)
    : SerialPort(parent)
    , address_(std::move(address))
{
}

TcpSerialPort::~TcpSerialPort()
{
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
    }
}

QString TcpSerialPort::label() const
{
    return QStringLiteral("%1 (%2)").arg(name_, address_.toString());
}

void TcpSerialPort::setDtrEnabled(bool on)
{
    dtr_ = on;
    if (open_)
        lineSettingsChanged();
}

void TcpSerialPort::setRtsEnabled(bool on)
{
    rts_ = on;
    if (open_)
        lineSettingsChanged();
}

void TcpSerialPort::setOneStopBit(bool one)
{
    oneStop_ = one;
    if (open_)
        lineSettingsChanged();
}

bool TcpSerialPort::startSession(QString *)
{
    return true;
}

QByteArray TcpSerialPort::decode(const QByteArray &bytes)
{
    return bytes;
}

QByteArray TcpSerialPort::encode(const QByteArray &data)
{
    return data;
}

bool TcpSerialPort::open(QString *error)
{
    if (open_)
        return true;
    if (socket_)
        releaseSocket();
    inbox_.clear();
    beginConnection();
    failed_ = false;
    failure_ = QAbstractSocket::UnknownSocketError;
    deadline_ = QDeadlineTimer(connectTimeoutMs_);

    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::readyRead, this, &TcpSerialPort::onReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &TcpSerialPort::onSocketError);
    connect(socket_, &QTcpSocket::disconnected, this, &TcpSerialPort::onDisconnected);
    socket_->connectToHost(address_.host(), address_.tcpPort());

    const bool connected =
        waitUntil([this] { return socket_ && socket_->state() == QAbstractSocket::ConnectedState; });
    if (!connected) {
        const QAbstractSocket::SocketError why = failed_ ? failure_ : QAbstractSocket::SocketTimeoutError;
        const QString text = socket_ ? socket_->errorString() : QString();
        if (error)
            *error = label() + QStringLiteral(": ") + describeFailure(why, address_, connectTimeoutMs_, text);
        if (socket_) {
            socket_->disconnect(this);
            socket_->abort();
            socket_->deleteLater();
            socket_ = nullptr;
        }
        return false;
    }
    // Commands are short and wait for their answer: no batching.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);

    QString why;
    if (!startSession(&why)) {
        if (failed_) // the server went away in the middle
            why = describeFailure(failure_, address_, connectTimeoutMs_, QString());
        if (error)
            *error = label() + QStringLiteral(": ") + why;
        releaseSocket();
        return false;
    }
    inbox_.clear(); // what came before the session is not the panel's
    open_ = true;
    return true;
}

bool TcpSerialPort::waitUntil(const std::function<bool()> &done)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Every event of the socket is a moment to look again; the handlers of
    // this port, connected first, have run by then.
    connect(socket_, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    connect(socket_, &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
    connect(socket_, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    connect(socket_, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    for (;;) {
        if (done())
            return true;
        if (failed_ || !socket_ || deadline_.hasExpired())
            return false;
        timer.start(int(qMax<qint64>(deadline_.remainingTime(), 1)));
        loop.exec();
    }
}

void TcpSerialPort::close()
{
    if (!open_)
        return;
    open_ = false;
    inbox_.clear();
    releaseSocket();
}

// Lets the socket hand over what it still holds and close in the background.
void TcpSerialPort::releaseSocket()
{
    QTcpSocket *socket = socket_;
    socket_ = nullptr;
    if (!socket)
        return;
    socket->disconnect(this);
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        socket->deleteLater();
        return;
    }
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        socket->deleteLater();
        return;
    }
    QTimer::singleShot(kCloseGraceMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
}

bool TcpSerialPort::sendRaw(const QByteArray &bytes)
{
    if (!socket_ || bytes.isEmpty())
        return socket_ != nullptr;
    if (socket_->write(bytes) != bytes.size())
        return false;
    socket_->flush();
    return true;
}

bool TcpSerialPort::write(const QByteArray &bytes, QString *error)
{
    if (!open_) {
        if (error)
            *error = QStringLiteral("The port %1 is not open.").arg(name_);
        return false;
    }
    if (!sendRaw(encode(bytes))) {
        if (error)
            *error = QStringLiteral("Could not write to %1: %2").arg(label(), socket_->errorString());
        return false;
    }
    return true;
}

QByteArray TcpSerialPort::read(qint64 maxBytes)
{
    const QByteArray out = inbox_.left(maxBytes);
    inbox_.remove(0, out.size());
    return out;
}

void TcpSerialPort::onReadyRead()
{
    if (!socket_)
        return;
    const QByteArray data = decode(socket_->readAll());
    if (data.isEmpty() || !open_)
        return;
    inbox_ += data;
    emit readyRead();
}

void TcpSerialPort::onSocketError(QAbstractSocket::SocketError error)
{
    if (!open_) {
        failed_ = true;
        failure_ = error;
        return;
    }
    if (error == QAbstractSocket::RemoteHostClosedError)
        lose(QStringLiteral("the server closed the connection"));
    else
        lose(socket_ ? socket_->errorString() : QString());
}

void TcpSerialPort::onDisconnected()
{
    if (!open_) {
        failed_ = true;
        if (failure_ == QAbstractSocket::UnknownSocketError)
            failure_ = QAbstractSocket::RemoteHostClosedError;
        return;
    }
    lose(QStringLiteral("the server closed the connection"));
}

void TcpSerialPort::lose(const QString &reason)
{
    if (!open_)
        return;
    open_ = false;
    inbox_.clear();
    if (socket_) {
        QTcpSocket *socket = socket_;
        socket_ = nullptr;
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    emit connectionLost(label() + QStringLiteral(": ") + reason);
}

QString TcpSerialPort::describeFailure(QAbstractSocket::SocketError error, const PortAddress &address,
                                           int timeoutMs, const QString &socketText)
{
    const QString where = address.hostAndPort();
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("connection refused\r\nNothing at %1 takes connections: check the address and port, "
                              "and that the serial server runs.")
            .arg(where);
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("name not found\r\nThe name %1 is not known: check its spelling, or give the "
                              "server's IP address.")
            .arg(address.host());
    case QAbstractSocket::NetworkError:
        return QStringLiteral("unreachable (%1)\r\n%2 cannot be reached from this computer: check the network "
                              "and the address.")
            .arg(socketText, where);
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("timed out\r\n%1 did not answer within %2 seconds: check the address, and that no "
                              "firewall is in the way.")
            .arg(where)
            .arg(timeoutMs / 1000.0);
    case QAbstractSocket::RemoteHostClosedError:
        return QStringLiteral("the server closed the connection\r\nIt may serve one client at a time: is another "
                              "program connected to %1?")
            .arg(where);
    default:
        return QStringLiteral("%1\r\nThe connection to %2 could not be made.").arg(socketText, where);
    }
}
