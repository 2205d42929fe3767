// Each fault of the virtual panel, at the engine: what it does to the replies.
#include "PanelEngine.h"
#include "link/PanelModel.h"
#include "link/ReplyMemo.h"

#include <gtest/gtest.h>

namespace {
struct FaultyPanel : ::testing::Test
{
    PanelEngine panel;
    void SetUp() override { ASSERT_EQ(panel.feed("\ra1234\r"), panel.banner() + "\r\nOK\r\n"); }
    QByteArray ask(const QByteArray &command) { return panel.feed(command + '\r'); }
    QList<PanelOutput> pieces(const QByteArray &command) { return panel.receive(command + '\r'); }
    static QByteArray withoutNul(QByteArray bytes) { return bytes.replace('\0', QByteArray()); }
};
} // namespace

TEST_F(FaultyPanel, LatencyDelaysTheFirstPieceOfEveryReply)
{
    panel.faults().latencyMs = 40;
    const QList<PanelOutput> reply = pieces("r0001");
    ASSERT_FALSE(reply.isEmpty());
    EXPECT_EQ(reply.first().gapMs, 40);
    EXPECT_EQ(PanelOutput::join(reply).left(5), QByteArray("r0001"));
}

TEST_F(FaultyPanel, ChunksCutTheReplyWithoutChangingIt)
{
    const QByteArray plain = ask("d01280200");
    panel.faults().chunks = true;
    const QList<PanelOutput> chunks = pieces("d01280200");
    EXPECT_GT(chunks.size(), 10);
    EXPECT_EQ(PanelOutput::join(chunks), plain);
    for (const PanelOutput &chunk : chunks)
        EXPECT_LE(chunk.bytes.size(), 24);
}

TEST_F(FaultyPanel, NulBytesAreStrewnInsideReplies)
{
    const QByteArray plain = ask("d00000010");
    panel.faults().nul = true;
    const QByteArray noisy = ask("d00000010");
    EXPECT_GT(noisy.count('\0'), plain.count('\0'));
    EXPECT_EQ(withoutNul(noisy), withoutNul(plain));
}

TEST_F(FaultyPanel, ASilentPanelAnswersNothingNotEvenTags)
{
    panel.faults().silent = true;
    EXPECT_TRUE(ask("").isEmpty());
    EXPECT_TRUE(ask("r0001").isEmpty());
    panel.presentTag("0102030405");
    EXPECT_FALSE(panel.hasUnsolicited());
    panel.faults().silent = false;
    EXPECT_EQ(ask(""), QByteArray("\r\nOK\r\n"));
}

TEST_F(FaultyPanel, ErrorToTheFirstPCommandsLeavesTheRecordAlone)
{
    panel.faults().errorP = 2;
    const QByteArray before = panel.memory().record(3);
    EXPECT_EQ(ask("p0003first"), QByteArray("Error\r\n"));
    EXPECT_EQ(ask("p1408" + QByteArray(64, '1')), QByteArray("p1408\r\nError\r\n"));
    EXPECT_EQ(panel.memory().record(3), before);
    EXPECT_EQ(panel.memory().record(1408), QByteArray(64, '?'));
    EXPECT_EQ(ask("p0003third"), QByteArray("p0003\r\nOK\r\n"));
    EXPECT_EQ(panel.memory().record(3), QByteArray("third"));
}

TEST_F(FaultyPanel, ErrorToTheFirstGCommandsIsTheSecondLine)
{
    panel.faults().errorG = 1;
    const QList<QByteArray> refused = ReplyMemo::splitLines(ask("g1408" + QByteArray(64, '1')));
    ASSERT_EQ(refused.size(), 2);
    EXPECT_EQ(refused.at(1), QByteArray("Error"));
    EXPECT_EQ(panel.memory().record(1408), QByteArray(64, '?'));
    EXPECT_EQ(ask("g1408" + QByteArray(64, '1')), QByteArray("g1408\r\nOK\r\n"));
}

TEST_F(FaultyPanel, DroppedOkLosesOnlyTheNextOne)
{
    panel.faults().dropOk = true;
    EXPECT_EQ(ask("r0001"), QByteArray("r000101030503021414000000140?0001000<\r\n"));
    EXPECT_EQ(ask(""), QByteArray("\r\nOK\r\n"));
}

TEST(PanelFaults, DroppedOkSparesTheLogOn)
{
    PanelEngine panel;
    panel.faults().dropOk = true;
    EXPECT_EQ(panel.feed("a1234\r"), QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(panel.feed("\r"), QByteArray("\r\n"));
}

TEST_F(FaultyPanel, BadReadbackAltersTheNextReads)
{
    ask("w0128101,,,,1,Ann");
    panel.faults().badReadback = 2;
    EXPECT_NE(ask("r0128"), QByteArray("r0128101,,,,1,Ann\r\nOK\r\n"));
    EXPECT_NE(ask("r0128").mid(5, 17), QByteArray("101,,,,1,Ann\r\nOK\r"));
    EXPECT_EQ(ask("r0128"), QByteArray("r0128101,,,,1,Ann\r\nOK\r\n"));
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,,,,1,Ann"));
}

TEST_F(FaultyPanel, StallCutsEveryLongReply)
{
    panel.faults().stallAfter = 100;
    EXPECT_EQ(ask("d01281152").size(), 100);
    EXPECT_EQ(ask(""), QByteArray("\r\nOK\r\n"));
}

TEST_F(FaultyPanel, APauseHoldsEveryLongReplyAfterItsBytesAndTheRestFollows)
{
    const QByteArray whole = ask("d01280140");
    panel.faults().pauseAfter = 100;
    panel.faults().pauseMs = 1500;
    const QList<PanelOutput> reply = pieces("d01280140");
    ASSERT_GE(reply.size(), 2);
    EXPECT_EQ(reply.at(0).bytes, whole.left(100));
    EXPECT_EQ(reply.at(1).gapMs, 1500);
    EXPECT_EQ(PanelOutput::join(reply), whole);
    EXPECT_EQ(pieces("").size(), 2); // a short reply goes on as it was: its text, then its "OK"
    EXPECT_EQ(pieces("").at(1).gapMs, 0);
}

TEST(PanelFaults, TheEventLogKeepsAsManyEventsAsItIsMadeFor)
{
    PanelMemory memory(1152);
    memory.setMaxEvents(2500);
    for (int i = 0; i < 2600; ++i)
        memory.addEvent(PanelEvent{PanelEvent::Kind::Call, QDateTime(), {}, i % 16});
    ASSERT_EQ(memory.events().size(), 2500);
    EXPECT_EQ(memory.events().first().digit, 100 % 16); // the oldest gave way
    memory.setMaxEvents(10);
    EXPECT_EQ(memory.events().size(), 10);
    EXPECT_EQ(memory.events().last().digit, 2599 % 16);
}

TEST_F(FaultyPanel, JunkPutsANoiseLineBeforeEveryReply)
{
    panel.faults().junk = true;
    const QList<QByteArray> reply = ReplyMemo::splitLines(ask(""));
    ASSERT_EQ(reply.size(), 3);
    EXPECT_GE(reply.at(0).size(), 8);
    EXPECT_FALSE(reply.at(0).contains('\r') || reply.at(0).contains('\n') || reply.at(0).contains('\0'));
    EXPECT_EQ(reply.at(2), QByteArray("OK"));
}

TEST(PanelFaults, AWrongIdentityIsNotRecognised)
{
    PanelEngine panel(QStringLiteral("500"));
    panel.setIdentity("Corvalen_500_Xarn ");
    const QList<QByteArray> banner = ReplyMemo::splitLines(panel.feed("\r"));
    EXPECT_EQ(banner.value(3), QByteArray("Corvalen_500_Xarn "));
    EXPECT_FALSE(IdentifyPanel(banner.value(3)));

    PanelEngine unknown(QStringLiteral("Corvalen_9000_Xarn"));
    EXPECT_EQ(ReplyMemo::splitLines(unknown.feed("\r")).value(3), QByteArray("Corvalen_9000_Xarn"));
    EXPECT_EQ(unknown.model().lastDirectoryRecord(), 1152);
}

TEST(PanelFaults, TheSameSeedRepeatsTheSameChunks)
{
    auto run = [](quint32 seed) {
        PanelEngine panel;
        panel.setSeed(seed);
        panel.faults().chunks = true;
        panel.feed("a1234\r");
        QList<qsizetype> sizes;
        for (const PanelOutput &p : panel.receive("d01280140\r"))
            sizes << p.bytes.size();
        return sizes;
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

TEST_F(FaultyPanel, ErrorToTheFirstDirectoryWritesLeavesTheSlotAlone)
{
    panel.faults().errorW = 2;
    EXPECT_EQ(ask("w0128101,,,,1,Ann"), QByteArray("Error\r\n"));
    EXPECT_EQ(ask("b0128101,,,,1,Ann"), QByteArray("Error\r\n"));
    EXPECT_TRUE(panel.memory().record(128).isEmpty());
    EXPECT_EQ(ask("b0128101,,,,1,Ann"), QByteArray("b0128\r\nOK\r\n"));
    EXPECT_EQ(panel.memory().record(128), QByteArray("101,,,,1,Ann"));
}

// The bytes are counted over replies and tag lines alike; the reply that
// reaches the count is cut there, the session ends and the line must drop.
TEST_F(FaultyPanel, TheLineDropsAfterItsBytesAndTheSessionEnds)
{
    const QByteArray whole = ask("d01280140");
    panel.faults().dropLineAfter = int(whole.size()) + 3;
    EXPECT_EQ(ask("d01280140"), whole);
    EXPECT_FALSE(panel.takeHangUp());
    EXPECT_EQ(ask(""), QByteArray("\r\nO"));
    EXPECT_TRUE(panel.takeHangUp());
    EXPECT_FALSE(panel.takeHangUp());
    EXPECT_FALSE(panel.loggedOn());
    EXPECT_EQ(panel.faults().dropLineAfter, 0);
    EXPECT_EQ(ask("r0001"), QByteArray()); // nothing changes before a new log-on
}
