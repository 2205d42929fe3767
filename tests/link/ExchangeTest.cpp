#include "link/RecordNumber.h"
#include <QCoreApplication>
#include <QMap>
#include "support/LinkHarness.h"

#include <gtest/gtest.h>

namespace {
// A panel that echoes record reads from a small memory and acknowledges the
// rest; enough to exercise the generic exchanges.
struct EchoPanel
{
    QMap<QByteArray, QByteArray> records;
    bool answerErrorToP = false;
    bool silent = false;

    QByteArray operator()(const QByteArray &command)
    {
        if (silent || command.isEmpty())
            return silent ? QByteArray() : QByteArray("\r\nOK\r\n");
        const char word = command.at(0);
        const QByteArray record = command.mid(1, 4);
        switch (word) {
        case 'r':
            return "r" + record + records.value(record) + "\r\nOK\r\n";
        case 'w':
        case 'b':
            records[record] = command.mid(5);
            return command.left(5) + "\r\nOK\r\n";
        case 'p':
            if (answerErrorToP)
                return "Error\r\n";
            records[record] = command.mid(5);
            return command.left(5) + "\r\nOK\r\n";
        }
        return {};
    }
};
} // namespace

class Exchange : public ::testing::Test
{
protected:
    void SetUp() override
    {
        h.openPort();
        h.port.setResponder([this](const QByteArray &c) { return panel(c); });
    }
    LinkHarness h;
    EchoPanel panel;
};

TEST(RecordNumbers, AreTheAddressDividedByThirtyTwoInFourDigits)
{
    EXPECT_EQ(RecordNumber::fromAddress("1000"), QByteArray("0128"));
    EXPECT_EQ(RecordNumber::fromAddress("9000"), QByteArray("1152"));
    EXPECT_EQ(RecordNumber::fromAddress("1F"), QByteArray("0000"));
    EXPECT_EQ(RecordNumber::fromAddress("1d00"), QByteArray("0232"));
    EXPECT_EQ(RecordNumber::fromInt(123456), QByteArray("3456"));
    EXPECT_FALSE(RecordNumber::fromAddress("p2"));
    EXPECT_FALSE(RecordNumber::fromAddress(""));
}

TEST_F(Exchange, SendCommandShowsTheCommandWaitsOneTickThenWrites)
{
    h.link.conn().IdleTicks = 40;
    h.link.state().LastReplyLine = "old";
    h.link.SendCommand("r0001\r");
    EXPECT_EQ(h.status.command(), QStringLiteral("r0001"));
    EXPECT_EQ(h.waiter.waits(), QList<qint32>{1});
    EXPECT_EQ(h.port.written(), QByteArray("r0001\r"));
    EXPECT_EQ(h.link.conn().IdleTicks, 0);
    EXPECT_TRUE(h.link.state().LastReplyLine.isEmpty());
}

TEST_F(Exchange, SendCommandOnAClosedPortWritesNothing)
{
    h.port.close();
    h.link.SendCommand("u\r");
    EXPECT_TRUE(h.port.written().isEmpty());
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(Exchange, WriteRecordToSlot1000WritesRecord0128AndVerifiesIt)
{
    EXPECT_TRUE(h.link.WriteRecord("1000", "4711,1,2,3,:1;<,Smith"));
    ASSERT_GE(h.port.commands().size(), 2);
    EXPECT_EQ(h.port.commands().at(0), QByteArray("w01284711,1,2,3,:1;<,Smith"));
    EXPECT_EQ(h.port.commands().at(1), QByteArray("r0128"));
}

TEST_F(Exchange, WriteRecordWithAnEmptyTextErasesTheSlot)
{
    panel.records["0129"] = "old";
    EXPECT_TRUE(h.link.WriteRecord("1020", ""));
    EXPECT_EQ(h.port.commands().first(), QByteArray("w0129"));
}

TEST_F(Exchange, WriteRecordToASilentPanelTriesTwiceWaitsAboutThreeAndAHalfSecondsAndFails)
{
    panel.silent = true;
    EXPECT_FALSE(h.link.WriteRecord("1000", "1,2,3,4,5,6"));
    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"w01281,2,3,4,5,6", "w01281,2,3,4,5,6", "r0128"}));
    // 2 x (1 + 20 x 100) + 50 before the read-back, then 1 + 5 x 20.
    EXPECT_EQ(h.waiter.totalTicks(), 2 * (1 + 2000) + 50 + 1 + 100);
    EXPECT_NEAR(h.elapsedTicks() * 0.864, 3600.0, 150.0);
}

TEST_F(Exchange, WriteRecordNeverWritesToAnAddressThatIsNotASlot)
{
    EXPECT_FALSE(h.link.WriteRecord("p3", "1,,,,,x"));
    EXPECT_TRUE(h.port.written().isEmpty());
}

TEST_F(Exchange, WriteBlockToSlot9000WritesRecord1152)
{
    EXPECT_TRUE(h.link.WriteBlock("9000", "12,,,,1,A"));
    EXPECT_EQ(h.port.commands().first(), QByteArray("b115212,,,,1,A"));
    EXPECT_EQ(h.port.commands().size(), 2); // one read-back was enough
}

TEST_F(Exchange, WriteBlockChecksThreeTimesBeforeGivingUp)
{
    h.port.setResponder([](const QByteArray &c) -> QByteArray {
        if (c.startsWith('r'))
            return "r1152different\r\nOK\r\n";
        return "\r\nOK\r\n";
    });
    EXPECT_FALSE(h.link.WriteBlock("9000", "12,,,,1,A"));
    EXPECT_EQ(h.port.commands(), (QList<QByteArray>{"b115212,,,,1,A", "r1152", "r1152", "r1152"}));
}

TEST_F(Exchange, ReadCompareIgnoresNulPaddingAndALongerReply)
{
    h.port.setResponder([](const QByteArray &) { return QByteArray("r0005AB\r\nOK\r\n"); });
    EXPECT_TRUE(h.link.ReadCompare("0005", QByteArray("AB\0\0", 4)));
    EXPECT_TRUE(h.link.ReadCompare("0005", "A")); // only the expected length counts
    h.port.setResponder([](const QByteArray &) { return QByteArray("r0005ABC\r\nOK\r\n"); });
    EXPECT_FALSE(h.link.ReadCompare("0005", QByteArray("AB\0\0", 4)));
}

TEST_F(Exchange, ReadCompareStopsWaitingAtTheAcknowledgement)
{
    h.port.setResponder([](const QByteArray &) { return QByteArray("r0005AB\r\nOK\r\n"); });
    h.link.ReadCompare("0005", "AB");
    EXPECT_EQ(h.waiter.waits(), (QList<qint32>{1, 20}));
}

TEST_F(Exchange, ReadCompareWithNothingReceivedMatchesOnlyEmptyContent)
{
    panel.silent = true;
    EXPECT_TRUE(h.link.ReadCompare("0005", ""));
    EXPECT_TRUE(h.link.ReadCompare("0005", QByteArray("\0AB", 3)));
    EXPECT_FALSE(h.link.ReadCompare("0005", "AB"));
    EXPECT_EQ(h.waiter.waits().mid(0, 6), (QList<qint32>{1, 20, 20, 20, 20, 20}));
}

TEST_F(Exchange, ProgramRecordOfThePinNeverShowsItButOtherRecordsAreShown)
{
    const QByteArray pin = "4321" + QByteArray(28, char(0xFF));
    EXPECT_TRUE(h.link.ProgramRecord("0000", pin));
    for (const QString &shown : h.status.commandTexts)
        EXPECT_FALSE(shown.contains(QStringLiteral("4321"))) << qPrintable(shown);
    EXPECT_EQ(h.port.commands().first(), "p0000" + pin);

    EXPECT_TRUE(h.link.ProgramRecord("0003", "Hello"));
    EXPECT_TRUE(h.status.commandTexts.contains(QStringLiteral("p0003Hello")));
}

TEST_F(Exchange, ProgramRecordOfThePinLeavesTheIdleCounterAndReplyLineAlone)
{
    h.link.conn().IdleTicks = 17;
    h.link.state().LastReplyLine = "kept";
    panel.silent = true;
    h.link.ProgramRecord("0000", "x");
    // The read-backs go through SendCommand; the PIN writes do not.
    EXPECT_EQ(h.port.commands().first(), QByteArray("p0000x"));
    EXPECT_EQ(h.status.commandTexts.filter(QStringLiteral("p0000")).size(), 0);
}

TEST_F(Exchange, ProgramRecordRefusedEveryTimeWritesFourTimesAndNeverReadsBack)
{
    panel.answerErrorToP = true;
    EXPECT_FALSE(h.link.ProgramRecord("0003", "Hello"));
    EXPECT_EQ(h.port.commands(), QList<QByteArray>(4, "p0003Hello"));
    EXPECT_EQ(h.waiter.totalTicks(), 4 * (1 + 2000));
}

TEST_F(Exchange, ProbePanelWantsOkAsTheSecondLine)
{
    EXPECT_TRUE(h.link.ProbePanel());
    EXPECT_EQ(h.port.commands(), QList<QByteArray>{""});
    EXPECT_EQ(h.link.RxMemo().text(), QByteArray());
    h.port.setResponder([](const QByteArray &) { return QByteArray("OK\r\n"); });
    EXPECT_FALSE(h.link.ProbePanel());
    panel.silent = true;
    h.port.setResponder([this](const QByteArray &c) { return panel(c); });
    EXPECT_FALSE(h.link.ProbePanel());
}

TEST_F(Exchange, LogOffSendsXClosesThePortAndEndsTheConnection)
{
    h.link.conn().LoggedOn = true;
    h.link.LogOff();
    EXPECT_EQ(h.port.written(), QByteArray("x\r"));
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_FALSE(h.link.conn().LoggedOn);
}

TEST_F(Exchange, LogOffOnAClosedPortWritesNothingAndKeepsLoggedOn)
{
    h.port.close();
    h.link.conn().LoggedOn = true;
    h.link.LogOff();
    EXPECT_TRUE(h.port.written().isEmpty());
    EXPECT_TRUE(h.link.conn().LoggedOn);
}

TEST_F(Exchange, TogglePortOpensWithTheLineSettingsAndWaits864Ms)
{
    h.port.close();
    EXPECT_TRUE(h.link.TogglePort());
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_TRUE(h.port.dtr());
    EXPECT_TRUE(h.port.rts());
    EXPECT_TRUE(h.port.oneStopBit());
    EXPECT_EQ(h.waiter.waits(), QList<qint32>{1000});

    EXPECT_FALSE(h.link.TogglePort()); // closes
    EXPECT_FALSE(h.port.isOpen());
}

TEST_F(Exchange, TogglePortSwallowsAFailedOpenWithoutWaiting)
{
    h.port.close();
    h.port.setOpenFails(true, QStringLiteral("Permission denied"));
    EXPECT_FALSE(h.link.TogglePort());
    EXPECT_TRUE(h.waiter.waits().isEmpty());
    EXPECT_EQ(h.link.lastOpenError(), QStringLiteral("Permission denied"));
    EXPECT_TRUE(h.prompt.messages.isEmpty());
}

TEST_F(Exchange, CutAtNulKeepsTheTextBeforeTheFirstNul)
{
    EXPECT_EQ(CommandExchange::CutAtNul(QByteArray("AB\0CD", 5)), QByteArray("AB"));
    EXPECT_EQ(CommandExchange::CutAtNul(QByteArray("\0", 1)), QByteArray());
    EXPECT_EQ(CommandExchange::CutAtNul("ABC"), QByteArray("ABC"));
}

TEST_F(Exchange, ALostLineIsAnnouncedOnce)
{
    int lost = 0;
    QObject::connect(&h.link, &CommandExchange::connectionLost, [&] { ++lost; });
    h.port.dropLine();
    h.port.dropLine();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(h.port.isOpen());
}

// Waits one after another (a transfer's steps) stream throughout; streaming
// ends when control is back in the event loop, not between two waits.
TEST(ExchangeStreamingTest, StreamingLastsFromTheFirstWaitUntilTheEventLoopRuns)
{
    LinkHarness h;
    h.openPort();
    for (int i = 0; i < 3; ++i)
        h.link.PumpWait(5);
    EXPECT_EQ(h.port.streamingChanges, QList<bool>{true});
    QCoreApplication::processEvents();
    EXPECT_EQ(h.port.streamingChanges, (QList<bool>{true, false}));
    h.link.PumpWait(5);
    EXPECT_EQ(h.port.streamingChanges, (QList<bool>{true, false, true}));
}
