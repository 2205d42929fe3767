// The network ports on loopback: real sockets, a few milliseconds each (the
// one wait for a server that never answers is cut to 300 ms).
#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/Rfc2217SerialPort.h"
#include "link/SystemSerialPort.h"
#include "link/TcpSerialPort.h"
#include "link/TelnetCodec.h"

#include <QHostInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

PortAddress address(const QString &text)
{
    return *PortAddress::parse(text);
}

// A server on a free loopback port that keeps the connection it accepts.
struct Server
{
    QTcpServer server;
    QTcpSocket *client = nullptr;
    QByteArray received;
    std::function<void(QTcpSocket &, const QByteArray &)> onBytes;

    Server()
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            client = server.nextPendingConnection();
            QObject::connect(client, &QTcpSocket::readyRead, [this] {
                const QByteArray bytes = client->readAll();
                received += bytes;
                if (onBytes)
                    onBytes(*client, bytes);
            });
        });
    }
    QString url(const char *scheme) const
    {
        return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(server.serverPort());
    }
};

// Lets the event loop run until done() or about a second has passed.
bool runUntil(const std::function<bool()> &done)
{
    EventLoopWaiter waiter;
    for (int i = 0; i < 120 && !done(); ++i)
        waiter.pump(10);
    return done();
}

// A listening socket whose queue is full: further connections are never
// answered (their SYN is dropped), on loopback, every time.
struct FullBacklog
{
    int listener = -1;
    int filler = -1;
    quint16 port = 0;
    FullBacklog()
    {
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        ::bind(listener, reinterpret_cast<sockaddr *>(&a), sizeof a);
        ::listen(listener, 0);
        ::getsockname(listener, reinterpret_cast<sockaddr *>(&a), &size);
        port = ntohs(a.sin_port);
        filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ::connect(filler, reinterpret_cast<sockaddr *>(&a), sizeof a);
    }
    ~FullBacklog()
    {
        ::close(filler);
        ::close(listener);
    }
};

} // namespace

TEST(TcpSerialPortTest, EveryByteValuePassesBothWaysAndADropIsALostLine)
{
    Server server;
    TcpSerialPort port(address(server.url("tcp")));
    port.setPortName(QStringLiteral("com2"));
    QString error;
    ASSERT_TRUE(port.open(&error)) << qPrintable(error);
    EXPECT_TRUE(port.isOpen());

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    ASSERT_TRUE(port.write(all, &error)) << qPrintable(error);
    ASSERT_TRUE(runUntil([&] { return server.received.size() >= 256; }));
    EXPECT_EQ(server.received, all);

    QSignalSpy ready(&port, &SerialPort::readyRead);
    server.client->write(all);
    ASSERT_TRUE(runUntil([&] { return port.bytesAvailable() >= 256; }));
    EXPECT_GE(ready.count(), 1);
    EXPECT_EQ(port.read(300), all);

    QSignalSpy lost(&port, &SerialPort::connectionLost);
    server.client->close();
    ASSERT_TRUE(runUntil([&] { return lost.count() > 0; }));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(lost.first().first().toString(),
              QStringLiteral("COM2 (%1): the server closed the connection").arg(server.url("tcp")));
    EXPECT_FALSE(port.write("x\r", &error));
}

TEST(TcpSerialPortTest, AnIpv6ServerIsReachedThroughItsBracketedAddress)
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHostIPv6, 0))
        GTEST_SKIP() << "no IPv6 loopback here";
    TcpSerialPort port(address(QStringLiteral("tcp://[::1]:%1").arg(server.serverPort())));
    QString error;
    ASSERT_TRUE(port.open(&error)) << qPrintable(error);
    ASSERT_TRUE(runUntil([&] { return server.hasPendingConnections(); }));
    QTcpSocket *peer = server.nextPendingConnection();
    ASSERT_TRUE(port.write("x\r", &error));
    ASSERT_TRUE(runUntil([&] { return peer->bytesAvailable() >= 2; }));
    EXPECT_EQ(peer->readAll(), QByteArray("x\r"));
}

TEST(TcpSerialPortTest, ARefusedConnectionAndAServerThatNeverAnswersAreExplained)
{
    quint16 closedPort = 0;
    {
        QTcpServer gone;
        gone.listen(QHostAddress::LocalHost, 0);
        closedPort = gone.serverPort();
    }
    TcpSerialPort refused(address(QStringLiteral("tcp://127.0.0.1:%1").arg(closedPort)));
    QString error;
    EXPECT_FALSE(refused.open(&error));
    EXPECT_FALSE(refused.isOpen());
    EXPECT_TRUE(error.startsWith(QStringLiteral("COM2 (tcp://127.0.0.1:%1): connection refused\r\n").arg(closedPort)))
        << qPrintable(error);

    FullBacklog silent;
    TcpSerialPort waiting(address(QStringLiteral("tcp://127.0.0.1:%1").arg(silent.port)));
    waiting.setConnectTimeoutMs(300);
    int ticks = 0;
    QTimer clock; // the window's timers go on while the port waits
    clock.setInterval(20);
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start();
    EXPECT_FALSE(waiting.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral(": timed out\r\n127.0.0.1:%1 did not answer within 0.3 seconds")
                                   .arg(silent.port)))
        << qPrintable(error);
    EXPECT_GE(ticks, 5);
    EXPECT_FALSE(waiting.isOpen());
}

// Real failures, each named with the port and the device asked for: a
// broadcast address no TCP connection can reach (the kernel refuses it at
// once), and a name the resolver does not know (a reserved top-level name).
TEST(TcpSerialPortTest, AnUnreachableAddressAndAnUnknownNameSayWhichDeviceAndWhy)
{
    TcpSerialPort unreachable(address(QStringLiteral("tcp://255.255.255.255:4001")));
    unreachable.setPortName(QStringLiteral("com3"));
    QString error;
    EXPECT_FALSE(unreachable.open(&error));
    EXPECT_FALSE(unreachable.isOpen());
    EXPECT_TRUE(error.startsWith(QStringLiteral("COM3 (tcp://255.255.255.255:4001): unreachable ("))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QStringLiteral("\r\n255.255.255.255:4001 cannot be reached"))) << qPrintable(error);

    if (QHostInfo::fromName(QStringLiteral("panel-gw.invalid")).error() != QHostInfo::HostNotFound)
        GTEST_SKIP() << "this machine's resolver gives no answer for unknown names";
    TcpSerialPort unknown(address(QStringLiteral("tcp://panel-gw.invalid:4001")));
    unknown.setPortName(QStringLiteral("COM4"));
    EXPECT_FALSE(unknown.open(&error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("COM4 (tcp://panel-gw.invalid:4001): name not found\r\n"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QStringLiteral("The name panel-gw.invalid is not known"))) << qPrintable(error);
}

TEST(Rfc2217SerialPortTest, AServerThatRefusesComPortControlOrSaysNothingIsNoSerialServer)
{
    Server refusing;
    refusing.onBytes = [](QTcpSocket &client, const QByteArray &bytes) {
        if (bytes.contains(TelnetCodec::negotiation(TelnetCodec::WILL, 44)))
            client.write(TelnetCodec::negotiation(TelnetCodec::DONT, 44));
    };
    Rfc2217SerialPort port(address(refusing.url("rfc2217")));
    QString error;
    EXPECT_FALSE(port.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("refuses RFC 2217)\r\n"))) << qPrintable(error);

    Server raw; // a raw server: it takes the negotiation for data and answers nothing
    Rfc2217SerialPort quiet(address(raw.url("rfc2217")));
    quiet.setConnectTimeoutMs(300);
    EXPECT_FALSE(quiet.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("the server did not confirm the serial settings\r\n")))
        << qPrintable(error);
    EXPECT_FALSE(quiet.isOpen());
}

TEST(SystemSerialPortTest, TheDeviceDecidesTheLineAtEveryOpen)
{
    Server server;
    DeviceMap devices;
    devices.setDevice(2, server.url("tcp"));
    devices.setDevice(3, QStringLiteral("tcp://gw:http"));
    SystemSerialPort port(devices);
    QString error;
    ASSERT_TRUE(port.open(&error)) << qPrintable(error);
    EXPECT_NE(qobject_cast<TcpSerialPort *>(port.line()), nullptr);
    EXPECT_EQ(qobject_cast<Rfc2217SerialPort *>(port.line()), nullptr);
    QSignalSpy lost(&port, &SerialPort::connectionLost);
    ASSERT_TRUE(runUntil([&] { return server.client != nullptr; }));
    server.client->close();
    ASSERT_TRUE(runUntil([&] { return lost.count() > 0; }));
    EXPECT_FALSE(port.isOpen());

    port.setPortName(QStringLiteral("COM3"));
    EXPECT_FALSE(port.open(&error));
    EXPECT_EQ(error, QStringLiteral("COM3 (tcp://gw:http): \"tcp://gw:http\": the port \"http\" is not a number\r\n"
                                    "Point COM3 at a device or a serial server with --com3= or CORVALEN_COM3 "
                                    "(see README: serial device)."));
}
