#include "link/TelnetCodec.h"

#include <gtest/gtest.h>

namespace {
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}
using T = TelnetCodec;
} // namespace

TEST(TelnetCodecTest, DataPassesAndEveryFFIsDoubledOnTheWayOut)
{
    const QByteArray record = "2580" + QByteArray(28, char(0xFF)) + "\r";
    const QByteArray wire = T::escape(record);
    EXPECT_EQ(wire.size(), record.size() + 28);
    EXPECT_EQ(wire.count(char(0xFF)), 56);
    TelnetCodec codec;
    codec.setBinaryIn(true);
    const T::Decoded back = codec.decode(wire);
    EXPECT_EQ(back.data, record);
    EXPECT_TRUE(back.commands.isEmpty());

    // Outside binary mode a CR goes out as CR NUL and comes back as CR.
    EXPECT_EQ(T::escape("a\rb", false), QByteArray("a\r\0b", 4));
    TelnetCodec text;
    EXPECT_EQ(text.decode(QByteArray("a\r\0b\r\n", 6)).data, QByteArray("a\rb\r\n"));
    // In binary mode a NUL after CR is data.
    EXPECT_EQ(codec.decode(QByteArray("\r\0", 2)).data, QByteArray("\r\0", 2));
}

TEST(TelnetCodecTest, CommandsAreTakenOutOfTheDataEvenWhenCutAnywhere)
{
    const QByteArray wire = "OK" + bytes({T::IAC, T::DO, 44, T::IAC, T::NOP}) + "\r\n"
                            + bytes({T::IAC, T::SB, 44, 101, 0, 0, 0xE1, 0, T::IAC, T::SE})
                            + bytes({T::IAC, T::SB, 44, 7, 0xFF, 0xFF, 1, T::IAC, T::SE}) + "x"
                            + bytes({T::IAC, T::WILL, 1});
    const QList<T::Command> expected{{T::DO, 44, {}},
                                     {T::NOP, 0, {}},
                                     {T::SB, 44, bytes({101, 0, 0, 0xE1, 0})},
                                     {T::SB, 44, bytes({7, 0xFF, 1})},
                                     {T::WILL, 1, {}}};
    for (qsizetype cut = 1; cut <= wire.size(); ++cut) {
        TelnetCodec codec;
        codec.setBinaryIn(true);
        QByteArray data;
        QList<T::Command> commands;
        for (qsizetype at = 0; at < wire.size(); at += cut) {
            const T::Decoded part = codec.decode(wire.mid(at, cut));
            data += part.data;
            commands += part.commands;
        }
        EXPECT_EQ(data, QByteArray("OK\r\nx")) << "chunks of " << cut;
        EXPECT_EQ(commands, expected) << "chunks of " << cut;
        EXPECT_EQ(codec.state(), T::State::Data);
    }
}

TEST(TelnetCodecTest, BrokenAndOverlongSubnegotiationsAreDroppedAndDecodingGoesOn)
{
    TelnetCodec codec;
    codec.setBinaryIn(true);
    // IAC followed by a negotiation inside a subnegotiation ends it unfinished.
    T::Decoded d = codec.decode(bytes({T::IAC, T::SB, 44, 1, 2, T::IAC, T::DONT, 44}) + "A");
    EXPECT_EQ(d.data, QByteArray("A"));
    ASSERT_EQ(d.commands.size(), 1);
    EXPECT_EQ(d.commands.first(), (T::Command{T::DONT, 44, {}}));

    QByteArray overlong = bytes({T::IAC, T::SB, 44});
    overlong += QByteArray(T::kMaxSubnegotiation + 1, 'z');
    d = codec.decode(overlong + bytes({T::IAC, T::SE}) + "B");
    EXPECT_EQ(d.data, QByteArray("B"));
    EXPECT_TRUE(d.commands.isEmpty());

    // A subnegotiation of exactly the limit still counts.
    d = codec.decode(bytes({T::IAC, T::SB, 44}) + QByteArray(T::kMaxSubnegotiation, 'z') + bytes({T::IAC, T::SE}));
    ASSERT_EQ(d.commands.size(), 1);
    EXPECT_EQ(d.commands.first().payload.size(), T::kMaxSubnegotiation);

    // A stray SE and every byte value in every state leave the codec usable.
    QByteArray noise;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            noise.append(char((b * 37 + round) & 0xFF));
    codec.decode(noise);
    codec.decode(bytes({T::IAC, T::SE, T::IAC, T::SE}));
    EXPECT_EQ(codec.decode("plain").data, QByteArray("plain"));
}

TEST(TelnetCodecTest, NegotiationsAndSubnegotiationsAreFramed)
{
    EXPECT_EQ(T::negotiation(T::WILL, 44), bytes({T::IAC, T::WILL, 44}));
    EXPECT_EQ(T::subnegotiation(44, bytes({1, 0, 0, 0xFF, 0})),
              bytes({T::IAC, T::SB, 44, 1, 0, 0, 0xFF, 0xFF, 0, T::IAC, T::SE}));
}
