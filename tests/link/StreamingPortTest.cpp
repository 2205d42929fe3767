#include "link/LocalSerialPort.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <functional>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
// A pseudo-terminal standing in for the panel's line: the test writes to its
// master end, the port reads the other.
struct PtyLine : ::testing::Test
{
    int master = -1;
    std::unique_ptr<LocalSerialPort> port;
    QByteArray got;

    void SetUp() override
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        port = std::make_unique<LocalSerialPort>(QString::fromLocal8Bit(ptsname(master)));
        QObject::connect(port.get(), &SerialPort::readyRead, [this] { got += port->read(port->bytesAvailable()); });
        QString error;
        ASSERT_TRUE(port->open(&error)) << error.toStdString();
    }

    void TearDown() override
    {
        port.reset();
        if (master >= 0)
            ::close(master);
    }

    void send(const QByteArray &bytes) { ASSERT_EQ(::write(master, bytes.constData(), bytes.size()), bytes.size()); }

    // Runs the event loop until done() holds; false after 5 s without it.
    static bool waitFor(const std::function<bool()> &done)
    {
        const QDeadlineTimer deadline(5000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return done();
    }
};

QByteArray everyByteValue(int times)
{
    QByteArray bytes;
    for (int t = 0; t < times; ++t)
        for (int b = 0; b < 256; ++b)
            bytes.append(char(b));
    return bytes;
}
} // namespace

TEST_F(PtyLine, AStreamingReadHandsOverEveryByteInOrderAndTheLineIsPromptAgainAfterIt)
{
    port->setStreaming(true);
    const QByteArray reply = everyByteValue(3);
    for (qsizetype at = 0; at < reply.size(); at += 7)
        send(reply.mid(at, 7));
    // Fewer than a hold's worth of bytes still comes, from the port's own timer.
    ASSERT_TRUE(waitFor([&] { return got.size() == reply.size(); })) << got.size();
    EXPECT_EQ(got, reply);

    // collect() hands over what is queued at once.
    got.clear();
    send("OK\r\n");
    ASSERT_TRUE(waitFor([&] {
        port->collect();
        return got.size() == 4;
    }));
    EXPECT_EQ(got, "OK\r\n");

    // After the stream a single byte is announced by itself again, with no
    // collect() and no timer behind it.
    port->setStreaming(false);
    got.clear();
    send("K");
    ASSERT_TRUE(waitFor([&] { return got == "K"; })) << got.toHex().constData();
    send(everyByteValue(1));
    ASSERT_TRUE(waitFor([&] { return got.size() == 257; }));
    EXPECT_EQ(got, "K" + everyByteValue(1));
}

TEST_F(PtyLine, ALineThatGoesAwayDuringAStreamingReadIsLostAtOnce)
{
    QString reason;
    QObject::connect(port.get(), &SerialPort::connectionLost, [&](const QString &why) { reason = why; });
    port->setStreaming(true);
    send("d0128");
    ::close(master);
    master = -1;
    ASSERT_TRUE(waitFor([&] { return !reason.isEmpty(); }));
    EXPECT_FALSE(port->isOpen());
    // Closed and open again, the port starts out of streaming.
    port->setStreaming(false);
    port->collect();
}
