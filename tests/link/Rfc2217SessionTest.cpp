#include "link/Rfc2217Session.h"

#include <gtest/gtest.h>

namespace {
using T = TelnetCodec;
using S = Rfc2217Session;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}
QByteArray confirm(int command, const QByteArray &value)
{
    return T::subnegotiation(S::kComPortOption, char(command + S::kServerOffset) + value);
}
QByteArray confirmations(int baud = 57600)
{
    return confirm(S::SetBaudRate, bytes({0, (baud >> 16) & 0xFF, (baud >> 8) & 0xFF, baud & 0xFF}))
           + confirm(S::SetDataSize, bytes({8})) + confirm(S::SetParity, bytes({1}))
           + confirm(S::SetStopSize, bytes({1}));
}
// What a server that agrees to everything says first, as ser2net does.
QByteArray serverGreeting()
{
    return T::negotiation(T::WILL, S::kSuppressGoAhead) + T::negotiation(T::DO, S::kSuppressGoAhead)
           + T::negotiation(T::WILL, S::kEcho) + T::negotiation(T::DONT, S::kEcho) + T::negotiation(T::DO, S::kBinary)
           + T::negotiation(T::WILL, S::kBinary) + T::negotiation(T::DO, S::kComPortOption)
           + T::negotiation(T::DO, S::kSuppressGoAhead);
}
} // namespace

TEST(Rfc2217SessionTest, AsksForTheLineOnceTheServerAgreesAndIsReadyWhenItIsConfirmed)
{
    S session;
    const QByteArray hello = session.start();
    EXPECT_TRUE(hello.contains(T::negotiation(T::WILL, S::kComPortOption)));
    EXPECT_TRUE(hello.contains(T::negotiation(T::WILL, S::kBinary)));
    EXPECT_TRUE(hello.contains(T::negotiation(T::DO, S::kBinary)));
    EXPECT_TRUE(hello.contains(T::negotiation(T::DO, S::kSuppressGoAhead)));

    QByteArray reply;
    EXPECT_TRUE(session.receive(serverGreeting(), &reply).isEmpty());
    // Echo is refused; what was asked for is not asked again.
    EXPECT_TRUE(reply.startsWith(T::negotiation(T::DONT, S::kEcho))) << reply.toHex().toStdString();
    EXPECT_FALSE(reply.contains(T::negotiation(T::WILL, S::kComPortOption)));
    // 57600 baud, 8 data bits, no parity, one stop bit, no flow control, DTR on, RTS on.
    const QByteArray settings = T::subnegotiation(44, bytes({S::SetBaudRate, 0, 0, 0xE1, 0x00}))
                                + T::subnegotiation(44, bytes({S::SetDataSize, 8}))
                                + T::subnegotiation(44, bytes({S::SetParity, 1}))
                                + T::subnegotiation(44, bytes({S::SetStopSize, 1}))
                                + T::subnegotiation(44, bytes({S::SetControl, 1}))
                                + T::subnegotiation(44, bytes({S::SetControl, 8}))
                                + T::subnegotiation(44, bytes({S::SetControl, 11}));
    EXPECT_TRUE(reply.endsWith(settings)) << reply.toHex().toStdString();
    EXPECT_EQ(reply.count(settings), 1);
    EXPECT_FALSE(session.ready());
    EXPECT_TRUE(session.binaryOut());
    EXPECT_TRUE(session.binaryIn());

    reply.clear();
    // The modem-state notice and the confirmations, then the panel's data.
    const QByteArray data = session.receive(T::subnegotiation(44, bytes({107, 0})) + confirmations()
                                                + bytes({'O', 'K', 0xFF, 0xFF, '\r', '\n'}),
                                            &reply);
    EXPECT_TRUE(session.ready());
    EXPECT_TRUE(session.failure().isEmpty());
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(data, QByteArray("OK\xff\r\n"));
    EXPECT_EQ(session.encode("p0006\xff\r"), QByteArray("p0006\xff\xff\r"));

    // DTR dropped while the session runs goes out at once.
    EXPECT_EQ(session.setDtr(false), T::subnegotiation(44, bytes({S::SetControl, 9})));
}

TEST(Rfc2217SessionTest, AServerWithoutComPortControlOrAtAnotherSpeedIsNoGood)
{
    S refused;
    refused.start();
    QByteArray reply;
    refused.receive(T::negotiation(T::DONT, S::kComPortOption), &reply);
    EXPECT_FALSE(refused.ready());
    EXPECT_TRUE(refused.failure().contains(QStringLiteral("RFC 2217")));

    S slow;
    slow.start();
    slow.receive(T::negotiation(T::DO, S::kComPortOption) + confirmations(9600), &reply);
    EXPECT_FALSE(slow.ready());
    EXPECT_EQ(slow.failure(), QStringLiteral("the server runs the line at 9600 baud, not 57600"));
}

TEST(Rfc2217SessionTest, UnknownOptionsAreRefusedAndARefusedBinaryFallsBackToTheTerminalsCrNul)
{
    S session;
    session.start();
    QByteArray reply;
    session.receive(T::negotiation(T::DO, 24) + T::negotiation(T::WILL, 31) + T::negotiation(T::DONT, S::kBinary)
                        + T::negotiation(T::WONT, S::kBinary),
                    &reply);
    EXPECT_EQ(reply, T::negotiation(T::WONT, 24) + T::negotiation(T::DONT, 31));
    EXPECT_FALSE(session.binaryOut());
    EXPECT_EQ(session.encode("x\r"), QByteArray("x\r\0", 3));
    EXPECT_EQ(session.receive(QByteArray("OK\r\0\n", 5), &reply), QByteArray("OK\r\n"));

    // Settings changed before the option is agreed go out with the others.
    EXPECT_TRUE(session.setRts(false).isEmpty());
    reply.clear();
    session.receive(T::negotiation(T::DO, S::kComPortOption), &reply);
    EXPECT_TRUE(reply.contains(T::subnegotiation(44, bytes({S::SetControl, 12}))));
}
