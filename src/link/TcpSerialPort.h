#pragma once

#include "link/PortAddress.h"
#include "link/SerialPort.h"

#include <QAbstractSocket>
#include <QDeadlineTimer>
#include <functional>

class QTcpSocket;

// A serial line reached through a serial server on the network in raw
// mode (tcp://HOST:PORT): bytes pass unchanged both ways, and the server's
// own settings fix the far line. It makes the connection, says what a
// failed one means, and treats a connection that drops as a lost line, as
// an unplugged adapter is. A server with line control builds on it
// (Rfc2217SerialPort): how bytes travel (encode, decode) and what is agreed
// once connected (startSession) are its to change.
//
// open() waits for the server in a local event loop, bounded by the connect
// timeout (5 s): the window keeps processing events, nothing spins. A
// failure says refused, unreachable, timed out or name not found on its
// first line and what to check on the next, so the log-on shows both under
// "Serial Communication Error". Bytes that arrive before open() returns are
// not data of the session and are dropped.
class TcpSerialPort : public SerialPort
{
    Q_OBJECT
public:
    static constexpr int kConnectTimeoutMs = 5000;
    // How long a closed connection may take to hand over its last bytes.
    static constexpr int kCloseGraceMs = 2000;

    explicit TcpSerialPort(PortAddress address, QObject *parent = nullptr);
    ~TcpSerialPort() override;

    const PortAddress &address() const { return address_; }
    void setConnectTimeoutMs(int ms) { connectTimeoutMs_ = ms; }
    int connectTimeoutMs() const { return connectTimeoutMs_; }

    // The port name is what the messages call the port ("COM2").
    void setPortName(const QString &name) override { name_ = name.toUpper(); }
    QString portName() const override { return name_; }

    void setDtrEnabled(bool on) override;
    void setRtsEnabled(bool on) override;
    void setOneStopBit(bool one) override;

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool write(const QByteArray &bytes, QString *error) override;
    qint64 bytesAvailable() const override { return inbox_.size(); }
    QByteArray read(qint64 maxBytes) override;

    // A failed connection in words: "connection refused" (or unreachable,
    // timed out, name not found) and, on the next line, what to check.
    static QString describeFailure(QAbstractSocket::SocketError error, const PortAddress &address, int timeoutMs,
                                   const QString &socketText);

protected:
    bool dtr() const { return dtr_; }
    bool rts() const { return rts_; }
    bool oneStopBit() const { return oneStop_; }
    // "COM2 (rfc2217://host:4001)": how messages name the port.
    QString label() const;

    // A new connection is about to be made: forget the last one's state.
    virtual void beginConnection() {}
    // After the connection is made, before open() returns: false, with
    // *error, when the server cannot serve the session. May wait with
    // waitUntil() up to the open's deadline.
    virtual bool startSession(QString *error);
    // Received bytes to data for the program; may answer with sendRaw().
    virtual QByteArray decode(const QByteArray &bytes);
    // Data from the program to bytes on the wire.
    virtual QByteArray encode(const QByteArray &data);
    // A line setting changed while open.
    virtual void lineSettingsChanged() {}

    bool sendRaw(const QByteArray &bytes);
    // Runs the event loop until done() holds, the connection fails or the
    // open's deadline passes. True when done() held.
    bool waitUntil(const std::function<bool()> &done);

private:
    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();
    void lose(const QString &reason);
    void releaseSocket();

    const PortAddress address_;
    QString name_ = QStringLiteral("COM2");
    int connectTimeoutMs_ = kConnectTimeoutMs;
    QTcpSocket *socket_ = nullptr;
    QDeadlineTimer deadline_;
    QByteArray inbox_;
    bool open_ = false;
    bool failed_ = false; // the connection failed while open() waits
    QAbstractSocket::SocketError failure_ = QAbstractSocket::UnknownSocketError;
    bool dtr_ = true;
    bool rts_ = false;
    bool oneStop_ = false;
};
