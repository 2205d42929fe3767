#include "TcpPanelServer.h"

#include <QTcpServer>
#include <QTcpSocket>

TcpPanelServer::TcpPanelServer(PanelEngine &engine, QHostAddress host, quint16 port, QObject *parent)
    : PanelServer(engine, parent)
    , host_(std::move(host))
    , port_(port)
    , server_(new QTcpServer(this))
{
    connect(server_, &QTcpServer::newConnection, this, &TcpPanelServer::onNewConnection);
    for (QTimer *timer : {&gapTimer_, &packetTimer_}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, &TcpPanelServer::flush);
    }
}

TcpPanelServer::~TcpPanelServer()
{
    close();
}

bool TcpPanelServer::open(QString *error)
{
    if (server_->isListening())
        return true;
    if (!server_->listen(host_, port_)) {
        *error = QStringLiteral("%1 port %2: %3").arg(host_.toString()).arg(port_).arg(server_->errorString());
        return false;
    }
    return true;
}

void TcpPanelServer::close()
{
    if (!server_->isListening())
        return;
    server_->close();
    dropProgram();
}

bool TcpPanelServer::isOpen() const
{
    return server_->isListening();
}

quint16 TcpPanelServer::port() const
{
    return server_->isListening() ? server_->serverPort() : port_;
}

QString TcpPanelServer::devicePath() const
{
    const QString host = host_.protocol() == QAbstractSocket::IPv6Protocol ? QStringLiteral("[%1]").arg(host_.toString())
                                                                           : host_.toString();
    return QStringLiteral("tcp://%1:%2").arg(host).arg(port());
}

void TcpPanelServer::onNewConnection()
{
    while (QTcpSocket *socket = server_->nextPendingConnection()) {
        if (client_) { // one program at a time
            socket->abort();
            socket->deleteLater();
            continue;
        }
        client_ = socket;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, &TcpPanelServer::onReadable);
        connect(socket, &QTcpSocket::disconnected, this, &TcpPanelServer::onDisconnected);
        setAttached(true);
        if (socket->bytesAvailable() > 0)
            onReadable();
    }
}

void TcpPanelServer::onReadable()
{
    if (client_)
        received(client_->readAll());
}

void TcpPanelServer::onDisconnected()
{
    if (!client_ || client_->state() == QAbstractSocket::ConnectedState)
        return;
    forget();
}

void TcpPanelServer::dropProgram()
{
    if (!client_)
        return;
    // The abort may report the disconnection at once, and that forgets the
    // program already.
    client_->abort();
    if (client_)
        forget();
}

// The program is gone: so is what was held for it, and the session.
void TcpPanelServer::forget()
{
    QTcpSocket *socket = client_;
    client_ = nullptr;
    if (socket) {
        socket->disconnect(this);
        socket->deleteLater();
    }
    gapTimer_.stop();
    packetTimer_.stop();
    held_.clear();
    endSession();
    setAttached(false);
}

void TcpPanelServer::writeOut(const QByteArray &bytes)
{
    if (!client_)
        return;
    if (!pacing()) {
        client_->write(bytes);
        return;
    }
    held_ += bytes;
    const qint64 twoCharactersNs = 2 * PanelTransmitter::byteTimeNs(baudRate());
    gapTimer_.start(qMax<int>(kPacketGapMs, int((twoCharactersNs + 999999) / 1000000)));
    if (!packetTimer_.isActive())
        packetTimer_.start(kPacketMaxMs);
}

void TcpPanelServer::flush()
{
    gapTimer_.stop();
    packetTimer_.stop();
    if (client_ && !held_.isEmpty())
        client_->write(held_);
    held_.clear();
}
