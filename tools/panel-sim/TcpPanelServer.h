#pragma once

#include "PanelServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTimer>

class QTcpServer;
class QTcpSocket;

// The virtual panel behind a TCP port, as a serial server in raw mode: the
// program opens tcp://HOST:PORT, and the bytes pass unchanged both ways at
// the panel's line rate. One program at a time: a second connection is
// closed at once while the first lasts. Closing the connection ends the
// session, as closing the serial device does.
//
// Like a serial server (ser2net's defaults), it forwards what the panel put
// on the line in packets: once the line has been quiet for two character
// times (at least kPacketGapMs), or kPacketMaxMs after the first byte held.
// Without pacing every reply goes out at once.
class TcpPanelServer : public PanelServer
{
    Q_OBJECT
public:
    static constexpr int kPacketGapMs = 2;
    static constexpr int kPacketMaxMs = 20;

    // Port 0 takes a free port (see port()).
    TcpPanelServer(PanelEngine &engine, QHostAddress host, quint16 port, QObject *parent = nullptr);
    ~TcpPanelServer() override;

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override;
    // tcp://127.0.0.1:4001 (an IPv6 host in brackets).
    QString devicePath() const override;
    quint16 port() const;

    // The program's connection goes away, as if the network dropped it.
    void dropProgram();

protected:
    void writeOut(const QByteArray &bytes) override;
    bool lineIdle() const override { return held_.isEmpty(); }

private:
    void onNewConnection();
    void onReadable();
    void onDisconnected();
    void forget();
    void flush();

    QHostAddress host_;
    quint16 port_;
    QTcpServer *server_;
    QPointer<QTcpSocket> client_;
    QByteArray held_;
    QTimer gapTimer_;
    QTimer packetTimer_;
};
