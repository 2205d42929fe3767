// End to end through the real serial code: the program's SystemSerialPort
// (QSerialPort on a device file) and CommandExchange on one side of a
// pseudo-terminal, the virtual panel's PtyPanelServer on the other, both in
// this process; the server's notifier and timers run inside the program's
// waits, which skip ahead whenever the line is settled. What measures real
// time waits in real time.
#include "PanelLines.h"
#include "PtyPanelServer.h"
#include "link/CommandExchange.h"
#include "link/DeviceMap.h"
#include "link/PanelModel.h"
#include "link/SystemSerialPort.h"
#include "support/CountingSerialPort.h"
#include "support/Recorders.h"
#include "support/SkippingWaiter.h"

#include <QSignalSpy>

#include <gtest/gtest.h>
#include <time.h>

namespace {
qint64 cpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct PtyLine : ::testing::Test
{
    PanelEngine engine;
    PtyPanelServer server{engine};
    DeviceMap devices;
    SystemSerialPort device{devices};
    CountingSerialPort port{device};
    PanelLineWatch line{port, server};
    SkippingWaiter waiter;
    RecordingStatus status;
    RecordingPrompt prompt;
    CommandExchange link{port, waiter, status, prompt};
    int commands = 0;

    void SetUp() override
    {
        server.setPacing(false);
        QString error;
        ASSERT_TRUE(server.open(&error)) << qPrintable(error);
        devices.setDevice(2, server.devicePath());
        QObject::connect(&server, &PtyPanelServer::commandReceived, [this] { ++commands; });
        waiter.setSettled([this] { return line.settled(); });
    }
    void TearDown() override { waiter.setSettled({}); }

    // Open the port and log on without the log-on's long waits.
    void logOnQuickly()
    {
        QString error;
        ASSERT_TRUE(port.open(&error)) << qPrintable(error);
        link.rx().DataArrived = false;
        link.WriteDirect("x\r");
        link.WriteDirect("\r");
        for (int i = 0; i < 100 && !link.rx().DataArrived; ++i)
            link.PumpWait(10);
        ASSERT_TRUE(link.rx().DataArrived);
        link.PumpWait(20);
        link.RxMemo().clear();
        link.clearReply();
        link.WriteDirect("a1234\r");
        ASSERT_TRUE(link.waitForReply(10, 100));
        ASSERT_TRUE(engine.loggedOn());
    }

    // CPU time spent by this process during a wait of `ticks`, as a share of it.
    double cpuShareDuring(qint32 ticks)
    {
        RealTime real(waiter);
        const qint64 cpu0 = cpuNs(), wall0 = waiter.nowNs();
        link.PumpWait(ticks);
        return double(cpuNs() - cpu0) / double(waiter.nowNs() - wall0);
    }
};
} // namespace

TEST_F(PtyLine, LogOnByHandWithTheExchangeHelpers)
{
    server.setPacing(true);
    ASSERT_TRUE(link.TogglePort());
    link.RxMemo().clear();
    link.rx().DataArrived = false;
    link.PumpWait(100);
    link.SendCommand("x\r");
    for (int i = 0; i < 6 && !link.rx().DataArrived; ++i) {
        link.SendCommand("\r");
        link.PumpWait(300);
    }
    link.PumpWait(200);
    ASSERT_TRUE(link.rx().DataArrived);
    const auto model = IdentifyPanel(link.RxMemo().line(3));
    ASSERT_TRUE(model) << link.RxMemo().text().toStdString();
    EXPECT_EQ(model->directoryEnd, 0x9000);

    link.RxMemo().clear();
    link.PumpWait(10);
    link.clearReply();
    link.WriteDirect("a1234\r");
    link.PumpWait(10);
    EXPECT_TRUE(link.waitForReply(200, 20));
    EXPECT_TRUE(engine.loggedOn());
    EXPECT_FALSE(status.commandTexts.join(QString()).contains(QStringLiteral("1234")));
}

// The waits skip ahead only once the line is settled: a reply that takes
// its time on the line arrives whole within the wait that expects it.
TEST_F(PtyLine, AWaitSkipsAheadOnlyOnceTheReplyHasCrossedTheLine)
{
    server.setPacing(true);
    logOnQuickly();
    for (int r = 128; r <= 147; ++r)
        engine.memory().setRecord(r, "123456,1234,5678,12,0123456789012345,Name of resident");
    const qint64 skippedBefore = waiter.skippedNs();
    link.rx().EchoSuppressed = true;
    link.SendCommand("d01280147\r");
    link.clearReply();
    link.PumpWait(1000); // the reply takes about a quarter of it on the line
    EXPECT_TRUE(link.rx().ReplyOk);
    EXPECT_EQ(link.rx().ReceiveBuffer.count("\r\n"), 20 + 2);
    EXPECT_GT(waiter.skippedNs(), skippedBefore);
}

TEST_F(PtyLine, KeepAliveProbeGetsOk)
{
    logOnQuickly();
    EXPECT_TRUE(link.ProbePanel());
}

TEST_F(PtyLine, WriteRecordIsReadBackThroughTheDevice)
{
    server.setPacing(true);
    logOnQuickly();
    EXPECT_TRUE(link.WriteRecord("1020", "4711,1234,,,:0211<5;,Adams Helen"));
    EXPECT_EQ(engine.memory().record(129), QByteArray("4711,1234,,,:0211<5;,Adams Helen"));
    EXPECT_TRUE(link.WriteBlock("1040", "12,,,,,\xe9l\xe8ne"));
    EXPECT_EQ(engine.memory().record(130), QByteArray("12,,,,,\xe9l\xe8ne"));
}

TEST_F(PtyLine, RefusedProgramRecordIsTriedAgain)
{
    logOnQuickly();
    engine.faults().errorP = 1;
    const QByteArray codes = "2580" + QByteArray(28, char(0xFF));
    commands = 0;
    EXPECT_TRUE(link.ProgramRecord("0006", codes)); // refused once, accepted the second time
    EXPECT_EQ(commands, 3);                         // p refused, p, r
    EXPECT_EQ(engine.memory().record(6), codes);
}

TEST_F(PtyLine, LineDropClosesThePortAndAnnouncesItOnce)
{
    logOnQuickly();
    QSignalSpy lost(&link, &CommandExchange::connectionLost);
    server.close(); // the panel's side goes away
    link.PumpWait(50);
    EXPECT_EQ(lost.count(), 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_LT(cpuShareDuring(300), 0.5); // no error storm, no spinning
    EXPECT_EQ(lost.count(), 1);
}

TEST_F(PtyLine, TheProgramMayCloseAndReopenTheDevice)
{
    server.setPacing(true);
    logOnQuickly();
    link.SendCommand("d01281152\r"); // a long reply, cut off by closing
    link.PumpWait(20);
    link.LogOff();
    link.PumpWait(60);
    EXPECT_FALSE(server.programAttached());
    EXPECT_FALSE(engine.loggedOn());
    EXPECT_LT(cpuShareDuring(300), 0.5); // nobody on the device: the server does not spin

    QString error;
    ASSERT_TRUE(port.open(&error)) << qPrintable(error);
    link.RxMemo().clear();
    link.clearReply();
    link.PumpWait(100);
    EXPECT_TRUE(link.rx().ReceiveBuffer.isEmpty()) << "stale: " << link.rx().ReceiveBuffer.left(40).toStdString();
    EXPECT_TRUE(server.programAttached());
    port.close();
    logOnQuickly();
    EXPECT_TRUE(link.ProbePanel());
}

TEST_F(PtyLine, ATagPresentedAtTheServerReachesTheProgram)
{
    logOnQuickly();
    link.RxMemo().clear();
    link.rx().DataArrived = false;
    ASSERT_TRUE(server.presentTag("04a1b2c3d4", 50));
    link.PumpWait(20);
    EXPECT_FALSE(link.rx().DataArrived);
    link.PumpWait(100);
    EXPECT_EQ(link.RxMemo().line(0), PanelLines::tagLine("04A1B2C3D4"));
}
