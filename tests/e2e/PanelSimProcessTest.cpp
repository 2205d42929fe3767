// The panel-sim command itself: its first line, its link, its memory file,
// its options.
#include "link/CommandExchange.h"
#include "link/DeviceMap.h"
#include "link/EventLoopWaiter.h"
#include "link/SystemSerialPort.h"
#include "support/Recorders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct PanelSimProcess : ::testing::Test
{
    QTemporaryDir dir;
    QString link = dir.filePath(QStringLiteral("panel"));
    QString memory = dir.filePath(QStringLiteral("state/panel.mem"));
    DeviceMap devices;
    SystemSerialPort port{devices};
    EventLoopWaiter waiter;
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange exchange{port, waiter, status, prompt};

    // Starts panel-sim and returns the device it printed first.
    QString start(QProcess &sim, QStringList args)
    {
        sim.setProgram(QStringLiteral(PANEL_SIM_EXECUTABLE));
        sim.setArguments(args << QStringLiteral("--no-keys"));
        sim.setProcessChannelMode(QProcess::SeparateChannels);
        sim.start();
        for (int i = 0; i < 100 && !sim.canReadLine(); ++i)
            exchange.PumpWait(50);
        return QString::fromLocal8Bit(sim.readLine()).trimmed();
    }

    void stop(QProcess &sim)
    {
        sim.terminate();
        for (int i = 0; i < 100 && sim.state() != QProcess::NotRunning; ++i)
            exchange.PumpWait(50);
    }

    bool logOn()
    {
        QString error;
        if (!port.open(&error))
            return false;
        exchange.RxMemo().clear();
        exchange.WriteDirect("x\r");
        exchange.WriteDirect("\r");
        for (int i = 0; i < 100 && exchange.RxMemo().lineCount() < 4; ++i)
            exchange.PumpWait(10);
        exchange.PumpWait(20);
        identity = exchange.RxMemo().line(3);
        exchange.RxMemo().clear();
        exchange.clearReply();
        exchange.WriteDirect("a1234\r");
        return exchange.waitForReply(10, 200);
    }
    QByteArray identity;
};
} // namespace

TEST_F(PanelSimProcess, PrintsItsDeviceLinksItAndKeepsItsMemoryOverARestart)
{
    QProcess sim;
    const QString device = start(sim, {QStringLiteral("--no-pacing"), QStringLiteral("--quiet"),
                                       QStringLiteral("--model"), QStringLiteral("500"), QStringLiteral("--demo"),
                                       QStringLiteral("--link"), link, QStringLiteral("--memory"), memory});
    ASSERT_TRUE(device.startsWith(QStringLiteral("/dev/pts/"))) << device.toStdString();
    EXPECT_EQ(QString::fromLocal8Bit(sim.readLine()).trimmed(), QStringLiteral("PIN 1234"));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), device);

    devices.setDevice(2, link);
    ASSERT_TRUE(logOn());
    EXPECT_EQ(identity, QByteArray("Corvalen_500_Xarn"));
    EXPECT_TRUE(exchange.WriteRecord("1000", "4711,,,,1,Written Here"));
    exchange.LogOff();
    stop(sim);
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0) << sim.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo(link).isSymLink()); // removed at exit

    QFile file(memory);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("record 0128 =4711,,,,1,Written%20Here"));

    QProcess again;
    ASSERT_FALSE(start(again, {QStringLiteral("--no-pacing"), QStringLiteral("--quiet"), QStringLiteral("--demo"),
                               QStringLiteral("--link"), link, QStringLiteral("--memory"), memory})
                     .isEmpty());
    ASSERT_TRUE(logOn());
    EXPECT_EQ(identity, QByteArray("Corvalen_500_Xarn")); // the model came from the file
    EXPECT_TRUE(exchange.ReadCompare("0128", "4711,,,,1,Written Here"));
    exchange.LogOff();
    stop(again);
}

TEST_F(PanelSimProcess, ServesAsARawSerialServerWithTcp)
{
    QProcess sim;
    const QString device = start(sim, {QStringLiteral("--no-pacing"), QStringLiteral("--quiet"),
                                       QStringLiteral("--model"), QStringLiteral("200"), QStringLiteral("--tcp"),
                                       QStringLiteral("0")});
    ASSERT_TRUE(device.startsWith(QStringLiteral("tcp://127.0.0.1:"))) << device.toStdString();
    devices.setDevice(2, device);
    ASSERT_TRUE(logOn()) << sim.readAllStandardError().toStdString();
    EXPECT_EQ(identity, QByteArray("Corvalen_200_Xarn"));
    EXPECT_TRUE(exchange.WriteRecord("1000", "12,,,,\xff,Byte FF"));

    // A second program is turned away while the first is on the line.
    SystemSerialPort other(devices);
    QString error;
    QSignalSpy lost(&other, &SerialPort::connectionLost);
    if (other.open(&error))
        for (int i = 0; i < 50 && lost.isEmpty(); ++i)
            exchange.PumpWait(10);
    EXPECT_FALSE(other.isOpen());
    EXPECT_TRUE(exchange.ReadCompare("0128", "12,,,,\xff,Byte FF"));
    exchange.LogOff();
    stop(sim);
    EXPECT_EQ(sim.exitCode(), 0);
}

TEST_F(PanelSimProcess, HelpListsEveryOptionAndBadOptionsAreRefused)
{
    QProcess help;
    help.start(QStringLiteral(PANEL_SIM_EXECUTABLE), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(5000));
    const QByteArray text = help.readAllStandardOutput();
    for (const char *option : {"--model", "--identity", "--pin", "--demo", "--memory", "--link", "--tcp", "--no-pacing",
                               "--latency", "--chunks", "--nul", "--silent", "--error-p", "--error-g", "--drop-ok",
                               "--bad-readback", "--stall-after", "--pause-after", "--pause-ms", "--max-events", "--junk", "--bare-ok", "--empty-replies", "--no-records",
                               "--silent-after-erase", "--tag", "--tag-delay", "--quiet"})
        EXPECT_TRUE(text.contains(option)) << option;
    EXPECT_TRUE(text.contains("Keys"));

    QProcess bad;
    bad.start(QStringLiteral(PANEL_SIM_EXECUTABLE), {QStringLiteral("--model"), QStringLiteral("300")});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_NE(bad.exitCode(), 0);
    EXPECT_TRUE(bad.readAllStandardError().contains("--model"));
    EXPECT_TRUE(bad.readAllStandardOutput().isEmpty());
}

TEST_F(PanelSimProcess, ABadMemoryFileStopsThePanelAndIsLeftAlone)
{
    QDir().mkpath(QFileInfo(memory).absolutePath());
    QFile file(memory);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("my notes\n");
    file.close();
    QProcess sim;
    sim.start(QStringLiteral(PANEL_SIM_EXECUTABLE), {QStringLiteral("--memory"), memory, QStringLiteral("--no-keys")});
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_NE(sim.exitCode(), 0);
    EXPECT_TRUE(sim.readAllStandardError().contains("line 1"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("my notes\n"));
}
