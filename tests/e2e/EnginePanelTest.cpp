// The program's exchanges against the virtual panel on virtual time (the
// test adapter EnginePanel behind FakePanelPort).
#include "link/CommandExchange.h"
#include "link/PanelModel.h"
#include "support/EnginePanel.h"
#include "support/LinkHarness.h"

#include <gtest/gtest.h>

namespace {
struct VirtualLine : ::testing::Test
{
    LinkHarness h;
    EnginePanel panel{h.port};
    CommandExchange &link = h.link;

    void SetUp() override
    {
        h.openPort();
        link.WriteDirect("\r");
        link.WriteDirect("a1234\r");
        link.PumpWait(50);
        ASSERT_TRUE(panel.engine().loggedOn());
        link.RxMemo().clear();
        link.clearReply();
    }
};
} // namespace

TEST_F(VirtualLine, TheGenericExchangesSucceedAgainstTheRealPanel)
{
    EXPECT_TRUE(link.ProbePanel());
    EXPECT_TRUE(link.WriteRecord("1000", "101,1234,,,0211<5,Adams Helen"));
    EXPECT_TRUE(link.WriteBlock("9000", "999,,,,,Last"));
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,1234,,,0211<5,Adams Helen"));
    EXPECT_EQ(panel.memory().record(1152), QByteArray("999,,,,,Last"));

    // Gate codes with 0xFF filling and a scroll message with NUL filling.
    const QByteArray codes = "1234" + QByteArray(28, char(0xFF));
    const QByteArray scroll = "Hello" + QByteArray(27, '\0');
    EXPECT_TRUE(link.ProgramRecord("0006", codes));
    EXPECT_TRUE(link.ProgramRecord("0003", scroll));
    EXPECT_EQ(panel.memory().record(6), codes);
    EXPECT_EQ(panel.memory().record(3), scroll);
}

TEST_F(VirtualLine, AlwaysRefusedProgramRecordWritesFourTimesAndNeverReads)
{
    panel.faults().errorP = 4;
    h.port.clearLog();
    EXPECT_FALSE(link.ProgramRecord("0001", "01030503021414000000140?0001000<"));
    int p = 0, r = 0;
    for (const QByteArray &c : h.port.commands()) {
        p += c.startsWith('p');
        r += c.startsWith('r');
    }
    EXPECT_EQ(p, 4);
    EXPECT_EQ(r, 0);
}

TEST_F(VirtualLine, AReadBackThatDiffersFailsTheWrite)
{
    panel.faults().badReadback = 1;
    EXPECT_FALSE(link.WriteRecord("1000", "101,,,,1,Ann"));
    EXPECT_TRUE(link.WriteRecord("1000", "101,,,,1,Ann"));
}

TEST_F(VirtualLine, AShortEventLogIsAcknowledgedWithinTheFirstWait)
{
    PanelEvent call;
    call.kind = PanelEvent::Kind::Call;
    call.when = panel.engine().clock().now();
    panel.memory().addEvent(call);
    link.clearReply();
    link.SendCommand("e\r");
    link.RxMemo().clear();
    link.PumpWait(500);
    EXPECT_TRUE(link.rx().ReplyOk);
    EXPECT_EQ(link.RxMemo().line(0), QByteArray("e"));
    EXPECT_EQ(link.RxMemo().line(1).mid(5, 1), QByteArray("B"));
}

TEST_F(VirtualLine, AFullDirectoryReadTakesItsLineTime)
{
    for (int r = 128; r <= 1152; ++r)
        panel.memory().setRecord(r, "123456,1234,5678,12,0123456789012345,Name of resident");
    const qint64 bytes = panel.engine().feed("d01281152\r").size();

    link.rx().EchoSuppressed = true;
    const qint64 start = h.clock.nowNs();
    link.SendCommand("d01281152\r");
    link.clearReply();
    ASSERT_TRUE(link.waitForReply(100, 1501));
    const qint64 took = h.clock.nowNs() - start;
    const qint64 lineTime = bytes * PanelTransmitter::byteTimeNs(57600);
    EXPECT_EQ(link.rx().ReceiveBuffer.size(), bytes);
    EXPECT_GE(took, lineTime);
    EXPECT_LE(took, lineTime + 102 * Waiter::kTickNs); // within one step of the wait
}

TEST_F(VirtualLine, ATagLineArrivesByItself)
{
    link.rx().DataArrived = false;
    panel.presentTag("0102030405", 2000000000LL);
    link.PumpWait(1000);
    EXPECT_FALSE(link.rx().DataArrived);
    link.PumpWait(2000);
    EXPECT_TRUE(link.rx().DataArrived);
    EXPECT_EQ(link.RxMemo().line(0), QByteArray("010203040501"));
}

TEST(VirtualLogOn, AWrongPinIsToldApartFromNoPanelByTheBanner)
{
    LinkHarness h;
    EnginePanel panel(h.port, QStringLiteral("200"));
    h.openPort();
    h.link.SendCommand("x\r");
    h.link.SendCommand("\r");
    h.link.PumpWait(300);
    EXPECT_TRUE(h.link.rx().DataArrived);
    const auto model = IdentifyPanel(h.link.RxMemo().line(3));
    ASSERT_TRUE(model);
    EXPECT_EQ(model->directoryEnd, 0x2A00);
    h.link.RxMemo().clear();
    h.link.clearReply();
    h.link.WriteDirect("a0000\r");
    EXPECT_FALSE(h.link.waitForReply(200, 20));
    EXPECT_FALSE(panel.engine().loggedOn());
}
